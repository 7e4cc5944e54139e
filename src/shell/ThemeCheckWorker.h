#pragma once
// The checks of theme files that would hold up the window (see IsSlowToCheck), made on a
// worker thread. Each result comes back on the window's thread through `done`; the window
// hands it to its ThemeCheckCache, which drops a result whose file has changed since.
#include <QObject>
#include <QThreadPool>
#include <vector>

#include "theme/ThemeCheck.h"

namespace ssf {

class ThemeCheckWorker : public QObject {
  Q_OBJECT
 public:
  explicit ThemeCheckWorker(QObject* parent = nullptr);
  ~ThemeCheckWorker() override;

  void Request(DeferredCheck check);
  // Blocks until every request has run (tests and shutdown).
  void WaitForAll();

 signals:
  void done(int index, quint64 ticket, const std::vector<ssf::CheckProblem>& problems);

 private:
  QThreadPool pool_;
};

}  // namespace ssf
