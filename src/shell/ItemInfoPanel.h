#pragma once
// The controls of the information panel Pnl_ItemInfo: the preview in its frame, the
// absent-file label, the load and save buttons, the stored file's problem and the group
// "Информация". The window
// wires the buttons; this class builds, places and fills the controls.
#include <QImage>
#include <QSize>

#include "editor/ViewState.h"

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;

namespace ssf {

class ColorTableView;

class ItemInfoPanel {
 public:
  // Builds the controls inside `panel`.
  explicit ItemInfoPanel(QFrame* panel);

  // Shows the view's fields and picture, then places the controls.
  void Render(const ViewState& view);
  // Places the controls for the panel's current size and the view's frame width.
  void Layout(const ViewState& view);
  // Shows a colour table's swatches in the preview's frame instead of the picture, or,
  // with nullptr, the picture again.
  void ShowColorTable(const Bytes* table);

  QPushButton* btn_LoadFile;
  QPushButton* btn_SaveFile;
  ColorTableView* GRID_ColorTab;  // a COLORTAB file's entries, in the preview's frame

 private:
  // Draws the picture at the chosen zoom for a frame whose inside is `inside`.
  void ShowPicture(QSize inside);

  QFrame* panel_;
  const ViewState* view_ = nullptr;  // the view last shown, for a change of zoom
  QImage picture_;       // the preview at 1:1
  bool checkerboard_ = false;
  int zoom_ = 1;         // PreviewZoomSize's zoom; 1:1 as the preview always was
  QSize drawn_for_;      // the frame inside the fit zoom was last drawn for
  QSize picture_size_;   // of the picture shown, empty for none
  QScrollArea* PNL_IMG;
  QWidget* canvas_;      // inside the frame: holds the picture or the swatches
  QLabel* IMG;
  QLabel* lbl_Zoom;
  QComboBox* CBox_Zoom;
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
