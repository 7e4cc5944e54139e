#include "shell/ItemInfoPanel.h"

#include <QComboBox>
#include <QFont>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>

#include "editor/PreviewZoom.h"
#include "shell/ColorTableView.h"
#include "shell/ImageConvert.h"

namespace ssf {
namespace {

constexpr int kFrameTop = 8;
constexpr int kFrameHeight = 322;
constexpr int kButtonTop = kFrameTop + kFrameHeight + 8;
constexpr int kButtonWidth = 94;
constexpr int kButtonHeight = 25;
constexpr int kGroupGap = 20;
constexpr int kGroupPreferredWidth = 200;
constexpr int kEdgeMargin = 4;
constexpr int kCheckerCell = 8;
// What a line edit takes around its text: frame and the style's inner margins.
constexpr int kFieldChrome = 16;

// Transparent pictures are drawn over a checkerboard so their transparency shows.
QPixmap OverCheckerboard(const QImage& picture) {
  QPixmap pixmap(picture.size());
  QPainter painter(&pixmap);
  const QColor light(0xFF, 0xFF, 0xFF);
  const QColor dark(0xCC, 0xCC, 0xCC);
  for (int y = 0; y < picture.height(); y += kCheckerCell) {
    for (int x = 0; x < picture.width(); x += kCheckerCell) {
      painter.fillRect(x, y, kCheckerCell, kCheckerCell, ((x / kCheckerCell + y / kCheckerCell) % 2) ? dark : light);
    }
  }
  painter.drawImage(0, 0, picture);
  return pixmap;
}

}  // namespace

ItemInfoPanel::ItemInfoPanel(QFrame* panel) : panel_(panel) {
  PNL_IMG = new QScrollArea(panel);
  PNL_IMG->setObjectName("PNL_IMG");
  PNL_IMG->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  PNL_IMG->setLineWidth(1);
  PNL_IMG->setWidgetResizable(false);
  PNL_IMG->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  canvas_ = new QWidget;
  canvas_->setObjectName("PNL_IMG_Canvas");
  IMG = new QLabel(canvas_);
  IMG->setObjectName("IMG");
  IMG->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  IMG->setScaledContents(false);
  IMG->resize(240, 320);
  GRID_ColorTab = new ColorTableView(canvas_);
  GRID_ColorTab->hide();
  canvas_->resize(240, 320);
  PNL_IMG->setWidget(canvas_);

  lbl_Zoom = new QLabel(QStringLiteral("&Масштаб:"), panel);
  lbl_Zoom->setObjectName("lbl_Zoom");
  CBox_Zoom = new QComboBox(panel);
  CBox_Zoom->setObjectName("CBox_Zoom");
  for (int zoom = kPreviewZoomFit; zoom <= kMaxPreviewZoom; ++zoom) {
    CBox_Zoom->addItem(QString::fromStdString(PreviewZoomName(zoom)), zoom);
  }
  CBox_Zoom->setCurrentIndex(CBox_Zoom->findData(zoom_));
  lbl_Zoom->setBuddy(CBox_Zoom);
  QObject::connect(CBox_Zoom, &QComboBox::activated, CBox_Zoom, [this](int index) {
    zoom_ = CBox_Zoom->itemData(index).toInt();
    drawn_for_ = QSize();
    if (view_ != nullptr) Layout(*view_);
  });

  lbl_5 = new QLabel(QStringLiteral("Файл отсутствует!"), panel);
  lbl_5->setObjectName("lbl_5");
  QFont bold = lbl_5->font();
  bold.setBold(true);
  lbl_5->setFont(bold);
  lbl_5->adjustSize();
  lbl_5->hide();

  lbl_FileProblem = new QLabel(panel);
  lbl_FileProblem->setObjectName("lbl_FileProblem");
  lbl_FileProblem->setWordWrap(true);
  lbl_FileProblem->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lbl_FileProblem->setTextInteractionFlags(Qt::TextSelectableByMouse);
  QPalette red = lbl_FileProblem->palette();
  red.setColor(QPalette::WindowText, QColor(0xB0, 0x00, 0x00));
  lbl_FileProblem->setPalette(red);
  lbl_FileProblem->hide();

  btn_LoadFile = new QPushButton(QStringLiteral("Загрузить"), panel);
  btn_LoadFile->setObjectName("btn_LoadFile");
  btn_SaveFile = new QPushButton(QStringLiteral("Сохранить"), panel);
  btn_SaveFile->setObjectName("btn_SaveFile");
  btn_SaveFile->setEnabled(false);

  GBox_FileInfo = new QGroupBox(QStringLiteral("Информация"), panel);
  GBox_FileInfo->setObjectName("GBox_FileInfo");
  auto* form = new QFormLayout(GBox_FileInfo);
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  auto row = [&](QLabel*& label, const char* label_name, const char* text, QLineEdit*& edit, const char* edit_name) {
    label = new QLabel(QString::fromUtf8(text), GBox_FileInfo);
    label->setObjectName(label_name);
    edit = new QLineEdit(GBox_FileInfo);
    edit->setObjectName(edit_name);
    edit->setReadOnly(true);
    edit->setMinimumWidth(32);
    form->addRow(label, edit);
  };
  row(lbl_6, "lbl_6", "Ширина:", ED_FileWidth, "ED_FileWidth");
  row(lbl_7, "lbl_7", "Высота:", ED_FileHeight, "ED_FileHeight");
  row(lbl_8, "lbl_8", "Размер:", ED_FileSize, "ED_FileSize");
  row(lbl_9, "lbl_9", "Формат:", ED_FileType, "ED_FileType");
}

void ItemInfoPanel::Render(const ViewState& v) {
  auto set_text = [](QLineEdit* e, const std::string& s) {
    const QString q = QString::fromStdString(s);
    if (e->text() != q) e->setText(q);
    // A field is never narrower than its whole text; the group grows and the picture's
    // frame gives way instead.
    const QMargins m = e->textMargins();
    const int text_width = e->fontMetrics().horizontalAdvance(q) + m.left() + m.right();
    e->setMinimumWidth(std::max(32, text_width + kFieldChrome));
  };
  set_text(ED_FileWidth, v.ED_FileWidth);
  set_text(ED_FileHeight, v.ED_FileHeight);
  set_text(ED_FileSize, v.ED_FileSize);
  set_text(ED_FileType, v.ED_FileType);
  lbl_5->setVisible(v.lbl_5_visible);
  lbl_FileProblem->setText(QString::fromStdString(v.IMG_problem));
  lbl_FileProblem->setVisible(!v.IMG_problem.empty());
  btn_SaveFile->setEnabled(v.btn_SaveFile_enabled);

  view_ = &v;
  picture_ = ToQImage(v.IMG.image);
  checkerboard_ = v.IMG.kind == PreviewPicture::Kind::kPng && v.IMG.image.HasAlpha();
  drawn_for_ = QSize();
  Layout(v);
}

void ItemInfoPanel::ShowColorTable(const Bytes* table) {
  const bool shown = table != nullptr && !table->empty();
  GRID_ColorTab->SetTable(shown ? *table : Bytes{});
  if (GRID_ColorTab->isVisibleTo(canvas_) != shown) {
    GRID_ColorTab->setVisible(shown);
    IMG->setVisible(!shown);
    if (view_ != nullptr) Layout(*view_);
  }
}

void ItemInfoPanel::ShowPicture(QSize inside) {
  if (picture_.isNull()) {
    if (!IMG->pixmap().isNull()) IMG->clear();
    picture_size_ = QSize();
    drawn_for_ = inside;
    return;
  }
  if (drawn_for_ == inside) return;
  drawn_for_ = inside;
  const ZoomedSize z = PreviewZoomSize(zoom_, picture_.width(), picture_.height(), inside.width(), inside.height());
  // Grown by a whole factor without smoothing, so each pixel of a small icon is a sharp square.
  const QImage scaled = QSize(z.width, z.height) == picture_.size()
                            ? picture_
                            : picture_.scaled(z.width, z.height, Qt::IgnoreAspectRatio,
                                              z.sharp ? Qt::FastTransformation : Qt::SmoothTransformation);
  IMG->setPixmap(checkerboard_ ? OverCheckerboard(scaled) : QPixmap::fromImage(scaled));
  picture_size_ = scaled.size();
}

void ItemInfoPanel::Layout(const ViewState& v) {
  const int panel_width = panel_->width();
  const int group_min = std::max(GBox_FileInfo->minimumSizeHint().width(), 120);
  // The frame keeps the width the view asks for while the group still fits beside it;
  // in a narrower panel it gives way and scrolls.
  const int frame_width = std::max(60, std::min(v.PNL_IMG_width, panel_width - kGroupGap - group_min - kEdgeMargin));
  const int shift = frame_width - v.PNL_IMG_width;
  PNL_IMG->setGeometry(0, kFrameTop, frame_width, kFrameHeight);
  // The image fills the frame and grows to the picture's size at the chosen zoom, so only
  // a picture larger than the frame brings scroll bars.
  const int border = 2 * PNL_IMG->frameWidth();
  const QSize inside(frame_width - border, kFrameHeight - border);
  ShowPicture(inside);
  QSize content = picture_size_;
  if (GRID_ColorTab->isVisibleTo(canvas_)) {
    // Swatches as wide as the frame allows; a long table scrolls down.
    const QSize hint = GRID_ColorTab->sizeHint();
    const int width = std::min(hint.width(), std::max(0, inside.width() - PNL_IMG->verticalScrollBar()->sizeHint().width()));
    GRID_ColorTab->resize(width, GRID_ColorTab->HeightFor(width));
    content = GRID_ColorTab->size();
  }
  const QSize canvas(std::max(inside.width(), content.width()), std::max(inside.height(), content.height()));
  canvas_->resize(canvas);
  IMG->resize(canvas);
  CBox_Zoom->setEnabled(!picture_.isNull() && !GRID_ColorTab->isVisibleTo(canvas_));
  lbl_5->move(v.lbl_5_left + shift / 2, kFrameTop + kFrameHeight / 2 - lbl_5->height() / 2);
  lbl_5->raise();
  btn_LoadFile->setGeometry(8, kButtonTop, kButtonWidth, kButtonHeight);
  btn_SaveFile->setGeometry(v.btn_SaveFile_left + shift, kButtonTop, kButtonWidth, kButtonHeight);
  const int problem_top = kButtonTop + kButtonHeight + 8;
  lbl_FileProblem->setGeometry(8, problem_top, std::max(0, v.btn_SaveFile_left + shift + kButtonWidth - 8),
                               std::max(0, panel_->height() - problem_top - kEdgeMargin));

  const int group_left = v.GBox_FileInfo_left + shift;
  const int group_width = std::max(group_min, std::min(kGroupPreferredWidth, panel_width - group_left - kEdgeMargin));
  const int group_height = GBox_FileInfo->sizeHint().height();
  GBox_FileInfo->setGeometry(group_left, kFrameTop, group_width, group_height);
  const int zoom_top = kFrameTop + group_height + 10;
  lbl_Zoom->setGeometry(group_left + 2, zoom_top, group_width - 2, lbl_Zoom->sizeHint().height());
  CBox_Zoom->setGeometry(group_left, zoom_top + lbl_Zoom->height() + 2, group_width, CBox_Zoom->sizeHint().height());
}

}  // namespace ssf
