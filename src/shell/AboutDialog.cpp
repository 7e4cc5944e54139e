#include "shell/AboutDialog.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>
#include <cmath>

namespace ssf {
namespace {

// The credit and developer lines are ours; the text names no people.
const char* const kAboutLines[] = {
    "О Программе",
    "============",
    "Quillbay SSF Manager",
    "Версия: 2.0 от 01.09.2012",
    "Программа предназначена для создания и редактирования тем",
    "для телефонов с установленным патчем прошивки,",
    "поддерживающим темы в формате SSF,",
    "кроме моделей QB-100, QB-150, QB-200 и QB-250.",
    "",
    "Благодарности:",
    "участнику сообщества — за преобразование цветов RGB16 в RGB24 и обратно;",
    "участнику сообщества — за функцию пути узла дерева, код поддержки IFEG",
    "и уменьшение расхода памяти;",
    "участнику сообщества — за код дерева и XML, ставший библиотекой XML_Lib,",
    "и перенос поддержки IFEG на оконную библиотеку.",
    "",
    "Разработано:",
    "Команда Quillbay",
    "Связь: через систему задач проекта",
    "Форум: раздел проекта на форуме сообщества",
    "2012",
    "Место: где-то в сети",
};

}  // namespace

TForm_AboutProgramm::TForm_AboutProgramm(QWidget* parent) : QDialog(parent) {
  setObjectName("TForm_AboutProgramm");
  setWindowTitle(QStringLiteral("О программе"));
  setFixedSize(414, 337);

  lbl_1 = new QLabel(QStringLiteral("Quillbay SSF Manager v2.0"), this);
  lbl_1->setObjectName("lbl_1");
  QFont title(QStringLiteral("Times New Roman"));
  title.setPixelSize(27);
  title.setBold(true);
  title.setUnderline(true);
  lbl_1->setFont(title);
  lbl_1->setAlignment(Qt::AlignCenter);
  lbl_1->setGeometry(0, 8, 414, 36);

  Memo_AboutProgrammText = new QTextEdit(this);
  Memo_AboutProgrammText->setObjectName("Memo_AboutProgrammText");
  Memo_AboutProgrammText->setReadOnly(true);
  Memo_AboutProgrammText->setLineWrapMode(QTextEdit::NoWrap);
  Memo_AboutProgrammText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo_AboutProgrammText->setFocusPolicy(Qt::NoFocus);
  Memo_AboutProgrammText->setStyleSheet(QStringLiteral("QTextEdit { background: #FFFBF0; color: black; }"));
  Memo_AboutProgrammText->setGeometry(0, 52, 417, 249);
  QString text;
  for (const char* line : kAboutLines) {
    if (!text.isEmpty()) text += '\n';
    text += QString::fromUtf8(line);
  }
  Memo_AboutProgrammText->setPlainText(text);
  Memo_AboutProgrammText->selectAll();
  Memo_AboutProgrammText->setAlignment(Qt::AlignHCenter);
  QTextCursor cursor = Memo_AboutProgrammText->textCursor();
  cursor.movePosition(QTextCursor::Start);
  Memo_AboutProgrammText->setTextCursor(cursor);

  // The box is as wide as the longest line needs in this font (never narrower than 414),
  // so no line is clipped and no horizontal scroll bar appears.
  const int text_width = static_cast<int>(std::ceil(Memo_AboutProgrammText->document()->idealWidth())) +
                         Memo_AboutProgrammText->verticalScrollBar()->sizeHint().width() +
                         2 * Memo_AboutProgrammText->frameWidth() + 8;
  const int width = std::max(414, text_width);
  setFixedSize(width, 337);
  lbl_1->setGeometry(0, 8, width, 36);
  Memo_AboutProgrammText->setGeometry(0, 52, width, 249);

  Btn_CloseChildForm = new QPushButton(QStringLiteral("ОК"), this);
  Btn_CloseChildForm->setObjectName("Btn_CloseChildForm");
  Btn_CloseChildForm->setGeometry((width - 75) / 2, 305, 75, 26);
  Btn_CloseChildForm->setDefault(true);
  connect(Btn_CloseChildForm, &QPushButton::clicked, this, &QDialog::accept);
}

void TForm_AboutProgramm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}

}  // namespace ssf
