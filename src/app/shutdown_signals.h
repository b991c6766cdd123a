#pragma once
// Turns the signals by which a desktop ends a program (SIGTERM at logout or
// shutdown, SIGINT from Ctrl-C, SIGHUP when its terminal closes) into a Qt
// signal on the user-interface thread, so that the program can end the way
// its close box ends it instead of dying with its work half done.

#include <QObject>

class QSocketNotifier;

namespace veltra {

class ShutdownSignals : public QObject {
    Q_OBJECT
public:
    // Installs the handlers; only one instance may exist at a time.
    explicit ShutdownSignals(QObject* parent = nullptr);
    ~ShutdownSignals() override;

    ShutdownSignals(const ShutdownSignals&) = delete;
    ShutdownSignals& operator=(const ShutdownSignals&) = delete;

signals:
    // Raised once per signal received, with its number.
    void shutdownRequested(int signalNumber);

private:
    void onSignalPipeReadable();

    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace veltra
