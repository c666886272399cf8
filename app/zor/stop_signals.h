#pragma once
// SIGTERM, SIGINT and SIGHUP (logging out, shutting down, Ctrl+C in a
// terminal) as an ordinary event on Qt's event loop: the signal handler only
// writes a byte to a pipe, and the loop calls `onStop` when it reads it.
#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace zor::app {

class StopSignals : public QObject {
  public:
    // Installs the handlers; only one instance may exist at a time.
    explicit StopSignals(std::function<void()> onStop);
    ~StopSignals() override;

  private:
    std::function<void()> onStop_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace zor::app
