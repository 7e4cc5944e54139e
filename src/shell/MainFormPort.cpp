// "Перенести на другую модель…" in the main window: kept apart from MainForm.cpp, which
// holds the window of the original program.
#include <QApplication>
#include <QProgressDialog>

#include "editor/ThemePortHandlers.h"
#include "shell/MainForm.h"
#include "shell/PortDialog.h"

namespace ssf {

void TMainForm::PortThemeClick() {
  RunHandler([&] {
    if (!editor_.state.Theme) return;
    const std::vector<std::string> models = PortModels(editor_);
    if (models.empty()) return;
    PortDialog dialog(editor_, models, this);
    if (dialog.exec() != QDialog::Accepted || !dialog.Proposal()) return;
    const PortProposal proposal = *dialog.Proposal();
    QProgressDialog progress(QStringLiteral("Перенос темы на другую модель…"), QStringLiteral("Отмена"), 0,
                             static_cast<int>(proposal.map.ThemeFiles.size()), this);
    progress.setObjectName("PortProgress");
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(400);
    // Each file is a short step: the window answers between them and "Отмена" stops the work.
    ApplyPort(editor_, proposal, [&](int done, int) {
      progress.setValue(done);
      QApplication::processEvents();
      return !progress.wasCanceled();
    });
  });
}

}  // namespace ssf
