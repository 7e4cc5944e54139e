#pragma once
// The question asked when "Подгонять размер изображений" is on and an imported picture's
// size differs from its theme file's: the picture fitted each way, as the phone will show
// it, to pick from, with dithering where the theme file is 16-bit.
#include <QDialog>
#include <optional>

#include "theme/PictureFit.h"

class QCheckBox;
class QLabel;
class QRadioButton;

namespace ssf {

class FitDialog : public QDialog {
  Q_OBJECT
 public:
  FitDialog(const FitQuestion& question, QWidget* parent = nullptr);

  FitChoice Choice() const;

  QRadioButton* modes[3];  // crop, pad, stretch
  QLabel* previews[3];
  QCheckBox* dither;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowPreviews();

  Image picture_;
  uint32_t width_, height_;
  std::string kind_;
};

// Shows the dialog; nothing when the user cancelled.
std::optional<FitChoice> AskFitChoice(QWidget* parent, const FitQuestion& question);

}  // namespace ssf
