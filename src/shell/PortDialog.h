#pragma once
// "Перенести на другую модель…": the target model, a table of its theme files with the
// proposed source of each (changeable to any source file or to none), what will be done,
// and the fit mode. The decisions are the editor's (editor/ThemePortHandlers.h).
#include <QDialog>
#include <optional>
#include <vector>

#include "editor/ThemePortHandlers.h"

class QCheckBox;
class QComboBox;
class QTableWidget;

namespace ssf {

class PortDialog : public QDialog {
  Q_OBJECT

 public:
  PortDialog(Editor& editor, const std::vector<std::string>& models, QWidget* parent = nullptr);
  // The proposal as the user left it; nothing when no model could be read.
  const std::optional<PortProposal>& Proposal() const { return proposal_; }

 private:
  void ModelChosen(int item);
  void FillTable();
  void SourceChosen(int k, int combo_index);
  void FitChanged();
  void UpdatePlans();

  Editor& editor_;
  std::optional<PortProposal> proposal_;
  QComboBox* model_;
  QTableWidget* table_;
  QComboBox* fit_;
  QCheckBox* dither_;
  QPushButton* ok_;
};

}  // namespace ssf
