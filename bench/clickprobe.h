#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <chrono>
#include <cstdint>
#include <optional>

// Linked into the benchmark builds of Velmora and of the baseline, it attaches
// itself to the application as soon as there is one. It times every click from
// the moment its button press reaches the program to the end of the repaint
// that follows the release (painted and flushed to the X server), and writes
// one line per click to standard output:
//     click <press to repaint, µs> <release to repaint, µs>
class ClickProbe : public QObject, private QAbstractNativeEventFilter {
public:
    explicit ClickProbe(QObject *application);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using Clock = std::chrono::steady_clock;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;
    std::uint8_t inputExtension();

    std::optional<std::uint8_t> inputExtension_;
    std::optional<Clock::time_point> pressed_;
    std::optional<Clock::time_point> released_;
    bool repainting_ = false;
};
