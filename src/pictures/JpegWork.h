#pragma once
// How much work a JPEG file asks of the decoder, counted from its markers before anything is
// decoded. Each scan of a progressive file makes libjpeg visit every 8x8 block of the
// components it names, whether the scan carries data or not, so a file of a few hundred
// empty scans over a large picture costs minutes while being only a few hundred KB.
//
//   FF D8                 start of image
//   FF Cn len ...         frame (SOF0..SOF15 but C4, C8, CC): precision, height, width,
//                         components (id, sampling h<<4|v, table)
//   FF DA len Ns ...      scan: Ns component ids, then entropy-coded data up to the next
//                         marker that is not FF 00 (a stuffed byte) or FF D0..D7 (restart)
//   FF xx len ...         any other segment, skipped by its length
//   FF D9                 end of image
#include <cstdint>

#include "base/ByteIO.h"

namespace ssf {

struct JpegWork {
  int scans = 0;
  uint64_t block_passes = 0;  // sum over the scans of the blocks each one visits
};

// The scans and block passes the markers announce. Counting stops where the markers cannot
// be followed (a damaged or cut file); the decoder then says what is wrong.
JpegWork CountJpegWork(ByteSpan data);

// Blocks one scan visits: a scan of one component covers that component's blocks, an
// interleaved scan whole MCUs of all of its components.
struct JpegComponentSampling {
  uint32_t h = 1, v = 1;
};
uint64_t JpegScanBlocks(uint32_t width, uint32_t height, uint32_t h_max, uint32_t v_max,
                        const JpegComponentSampling* in_scan, int count);

// Throws SsfError when the work is over kMaxJpegBlockPasses or kMaxJpegScans.
void CheckJpegWork(const JpegWork& work);

}  // namespace ssf
