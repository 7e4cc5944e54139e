#include "shell/FitDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "shell/ImageConvert.h"

namespace ssf {

namespace {

constexpr FitMode kModes[3] = {FitMode::kCrop, FitMode::kPad, FitMode::kStretch};
const char* const kModeTexts[3] = {"Обрезать по краям", "Вписать с полями", "Растянуть"};
// Previews larger than this are shown smaller; small ones are enlarged by whole steps so
// the phone's pixels stay visible.
constexpr int kPreviewBox = 220;

QPixmap PreviewPixmap(const Image& shown) {
  QPixmap pixmap = QPixmap::fromImage(ToQImage(shown));
  const int side = std::max(pixmap.width(), pixmap.height());
  if (side > kPreviewBox) {
    return pixmap.scaled(kPreviewBox, kPreviewBox, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  }
  const int factor = side > 0 ? kPreviewBox / side : 1;
  if (factor < 2) return pixmap;
  return pixmap.scaled(pixmap.width() * factor, pixmap.height() * factor, Qt::IgnoreAspectRatio,
                       Qt::FastTransformation);
}

}  // namespace

FitDialog::FitDialog(const FitQuestion& q, QWidget* parent)
    : QDialog(parent), picture_(q.picture), width_(q.width), height_(q.height), kind_(q.kind) {
  setObjectName("FitDialog");
  setWindowTitle(QStringLiteral("Подгонка изображения"));
  auto* layout = new QVBoxLayout(this);
  auto* text = new QLabel(QStringLiteral("Загружается «%6».\nРазмер изображения %1x%2, в карте темы: %3x%4 (%5).\n"
                                         "Выберите, как подогнать его (щелчок по картинке выбирает её способ):")
                              .arg(q.picture.width)
                              .arg(q.picture.height)
                              .arg(q.width)
                              .arg(q.height)
                              .arg(QString::fromStdString(q.kind))
                              .arg(QString::fromStdString(q.file)),
                          this);
  text->setObjectName("lbl_FitText");
  layout->addWidget(text);

  auto* grid = new QGridLayout;
  for (int i = 0; i < 3; ++i) {
    modes[i] = new QRadioButton(QString::fromUtf8(kModeTexts[i]), this);
    modes[i]->setObjectName(QStringLiteral("Fit_%1").arg(FitModeName(kModes[i])));
    previews[i] = new QLabel(this);
    previews[i]->setObjectName(QStringLiteral("Preview_%1").arg(FitModeName(kModes[i])));
    previews[i]->setFixedSize(kPreviewBox + 4, kPreviewBox + 4);
    previews[i]->setAlignment(Qt::AlignCenter);
    previews[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    previews[i]->setCursor(Qt::PointingHandCursor);
    previews[i]->installEventFilter(this);
    grid->addWidget(modes[i], 0, i);
    grid->addWidget(previews[i], 1, i);
  }
  modes[0]->setChecked(true);
  layout->addLayout(grid);

  dither = new QCheckBox(QStringLiteral("Сглаживать переходы цветов (дизеринг)"), this);
  dither->setObjectName("CB_Dither");
  dither->setEnabled(IsRgb565Kind(kind_));
  dither->setToolTip(QStringLiteral("Только для 16-битных файлов темы (RAW, IFG, ANI2): убирает полосы на градиентах"));
  connect(dither, &QCheckBox::toggled, this, [this] { ShowPreviews(); });
  layout->addWidget(dither);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->setObjectName("FitButtons");
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("ОК"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  ShowPreviews();
}

void FitDialog::ShowPreviews() {
  const bool dithered = dither->isChecked();
  for (int i = 0; i < 3; ++i) {
    const Image fitted = FitForThemeFile(picture_, width_, height_, kind_, FitChoice{kModes[i], dithered});
    previews[i]->setPixmap(PreviewPixmap(AsStored(fitted, kind_)));
  }
}

bool FitDialog::eventFilter(QObject* watched, QEvent* event) {
  // A click on a picture picks its way, as a click on its caption does.
  if (event->type() == QEvent::MouseButtonPress) {
    for (int i = 0; i < 3; ++i) {
      if (watched == previews[i]) {
        modes[i]->setChecked(true);
        modes[i]->setFocus();
        return true;
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

FitChoice FitDialog::Choice() const {
  FitChoice choice;
  for (int i = 0; i < 3; ++i) {
    if (modes[i]->isChecked()) choice.mode = kModes[i];
  }
  choice.dither = dither->isEnabled() && dither->isChecked();
  return choice;
}

std::optional<FitChoice> AskFitChoice(QWidget* parent, const FitQuestion& question) {
  FitDialog dialog(question, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Choice();
}

}  // namespace ssf
