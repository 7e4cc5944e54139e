#pragma once
// The controls of the information panel Pnl_ItemInfo: the preview in its frame, the
// absent-file label, the load and save buttons, the stored file's problem and the group
// "Информация". The window
// wires the buttons; this class builds, places and fills the controls.
#include <QSize>

#include "editor/ViewState.h"

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;

namespace ssf {

class ItemInfoPanel {
 public:
  // Builds the controls inside `panel`.
  explicit ItemInfoPanel(QFrame* panel);

  // Shows the view's fields and picture, then places the controls.
  void Render(const ViewState& view);
  // Places the controls for the panel's current size and the view's frame width.
  void Layout(const ViewState& view);

  QPushButton* btn_LoadFile;
  QPushButton* btn_SaveFile;

 private:
  QFrame* panel_;
  QSize picture_size_;  // of the picture shown, empty for none
  QScrollArea* PNL_IMG;
  QLabel* IMG;
  QLabel* lbl_5;
  QLabel* lbl_FileProblem;  // what the check finds wrong with the stored file
  QGroupBox* GBox_FileInfo;
  QLabel* lbl_6;
  QLabel* lbl_7;
  QLabel* lbl_8;
  QLabel* lbl_9;
  QLineEdit* ED_FileWidth;
  QLineEdit* ED_FileHeight;
  QLineEdit* ED_FileSize;
  QLineEdit* ED_FileType;
};

}  // namespace ssf
