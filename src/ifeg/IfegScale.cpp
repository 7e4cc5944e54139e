#include "ifeg/IfegScale.h"

#include "ifeg/Ifeg.h"

namespace ssf {

uint32_t PackRgb565(uint8_t blue, uint8_t green, uint8_t red) {
  const uint8_t bgr[3] = {blue, green, red};
  return ifeg_scale::Pack565(bgr);
}

uint32_t PackRgb666(uint8_t blue, uint8_t green, uint8_t red) {
  const uint8_t bgr[3] = {blue, green, red};
  return ifeg_scale::Pack666(bgr);
}

void UnpackRgb565(uint32_t value, uint8_t* bgr) { ifeg_scale::Unpack565(value, bgr); }
void UnpackRgb666(uint32_t value, uint8_t* bgr) { ifeg_scale::Unpack666(value, bgr); }

}  // namespace ssf
