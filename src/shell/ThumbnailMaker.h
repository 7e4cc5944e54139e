#pragma once
// Thumbnails of theme files, decoded on a worker thread so a large theme never holds up
// the window. Each request carries a copy of the stored bytes; a result comes back on the
// window's thread through `done`, tagged with the request's key, and a result whose key
// no longer matches the tile is simply dropped by the caller.
#include <QImage>
#include <QObject>
#include <QThreadPool>
#include <cstddef>

#include "base/ByteIO.h"
#include "editor/EditorState.h"

namespace ssf {

// Largest side of a thumbnail's picture.
inline constexpr int kThumbnailSide = 96;

// The thumbnail of stored bytes: a picture that fits kThumbnailSide grows by `zoom`, the
// whole factor all small pictures of the theme share (so pixel art stays sharp and a 44x44
// icon is never drawn larger than a 60x60 one); a larger one is scaled down to fit.
// Transparency over a checkerboard; a colour table as its swatches. A null image when the
// kind has no picture or the bytes do not decode.
QImage MakeThumbnail(const Bytes& stored, const TTHemeFiles& entry, int zoom = 1);

class ThumbnailMaker : public QObject {
  Q_OBJECT
 public:
  explicit ThumbnailMaker(QObject* parent = nullptr);
  ~ThumbnailMaker() override;

  // Starts making the thumbnail of theme file `index`; `key` identifies the bytes.
  void Request(int index, size_t key, Bytes stored, const TTHemeFiles& entry, int zoom);
  // Requests not yet answered.
  int Pending() const { return pending_; }
  // Blocks until every request has run (tests and shutdown).
  void WaitForAll();

 signals:
  void done(int index, size_t key, const QImage& thumbnail);

 private:
  QThreadPool pool_;
  int pending_ = 0;
};

}  // namespace ssf
