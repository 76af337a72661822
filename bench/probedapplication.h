#pragma once

#include <QAbstractNativeEventFilter>
#include <QApplication>

#include <chrono>
#include <cstdint>
#include <optional>

// The application object of the benchmark builds. It times every click from
// the moment its button press reaches the program to the end of the repaint
// that follows the release (painted and flushed to the X server), and writes
// one line per click to standard output:
//     click <press to repaint, µs> <release to repaint, µs>
class ProbedApplication : public QApplication, private QAbstractNativeEventFilter {
public:
    ProbedApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

private:
    using Clock = std::chrono::steady_clock;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

    std::uint8_t inputExtension_ = 0;
    std::optional<Clock::time_point> pressed_;
    std::optional<Clock::time_point> released_;
};
