#include "shell/ThumbnailMaker.h"

#include <QMetaObject>
#include <QPainter>
#include <algorithm>
#include <exception>

#include "editor/ThemeFilePreview.h"
#include "theme/ColorTable.h"
#include "theme/FileKind.h"
#include "shell/ImageConvert.h"

namespace ssf {

QImage MakeThumbnail(const Bytes& stored, const TTHemeFiles& entry, int zoom) {
  if (KindOf(entry.f_type) == FileKind::kColorTab) {
    try {
      constexpr uint32_t kCell = (kThumbnailSide - kColorTableColumns - 1) / kColorTableColumns;
      return ToQImage(ColorTableSwatches(stored, kCell)).convertToFormat(QImage::Format_RGB32);
    } catch (const std::exception&) {
      return {};  // a table too long to draw: the tile shows its kind
    }
  }
  PreviewPicture picture;
  try {
    picture = MakePreviewPicture(stored, entry);
  } catch (const std::exception&) {
    return {};  // the check reports why; the tile shows its frame only
  }
  if (picture.kind == PreviewPicture::Kind::kNone || picture.image.width == 0 || picture.image.height == 0) return {};
  QImage full = ToQImage(picture.image);
  const int w = full.width(), h = full.height();
  QImage scaled;
  if (w <= kThumbnailSide && h <= kThumbnailSide) {
    const int factor = std::clamp(zoom, 1, std::max(1, std::min(kThumbnailSide / w, kThumbnailSide / h)));
    scaled = full.scaled(w * factor, h * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  } else {
    scaled = full.scaled(kThumbnailSide, kThumbnailSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  }
  if (!scaled.hasAlphaChannel()) return scaled.convertToFormat(QImage::Format_RGB32);
  QImage out(scaled.size(), QImage::Format_RGB32);
  QPainter painter(&out);
  constexpr int kCell = 6;
  for (int y = 0; y < out.height(); y += kCell) {
    for (int x = 0; x < out.width(); x += kCell) {
      painter.fillRect(x, y, kCell, kCell, ((x / kCell + y / kCell) % 2) ? QColor(204, 204, 204) : Qt::white);
    }
  }
  painter.drawImage(0, 0, scaled);
  return out;
}

ThumbnailMaker::ThumbnailMaker(QObject* parent) : QObject(parent) {
  // One worker: the window keeps the other core, and tiles fill in map order.
  pool_.setMaxThreadCount(1);
}

ThumbnailMaker::~ThumbnailMaker() {
  pool_.clear();
  pool_.waitForDone();
}

void ThumbnailMaker::Request(int index, size_t key, Bytes stored, const TTHemeFiles& entry, int zoom) {
  ++pending_;
  // The destructor waits for a running task, so `this` outlives every task; a queued
  // answer whose receiver is gone is dropped by Qt.
  pool_.start([this, index, key, stored = std::move(stored), entry, zoom] {
    QImage thumbnail = MakeThumbnail(stored, entry, zoom);
    QMetaObject::invokeMethod(
        this,
        [this, index, key, thumbnail] {
          --pending_;
          emit done(index, key, thumbnail);
        },
        Qt::QueuedConnection);
  });
}

void ThumbnailMaker::WaitForAll() { pool_.waitForDone(); }

}  // namespace ssf
