// Drives the real window with a long seeded stream of random input and checks
// after every event that it shows exactly what the board says.

#include <ui/boardview.h>
#include <ui/mainwindow.h>
#include "input.h"
#include "windowparts.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <random>

namespace velmora {
namespace {

constexpr int kEvents = 100'000;
constexpr int kFullCheckEvery = 100;

class Storm {
public:
    explicit Storm(unsigned seed) : random_(seed)
    {
        window_.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window_));
    }

    // One random event; returns a description for the failure message.
    std::string step()
    {
        switch (pick(0, 99)) {
        case 0:
            test::trigger(window_, "Reset");
            expected_.resetBoard();
            return "reset";
        case 1:
            openAndDismissAbout();
            return "about";
        case 2: case 3: case 4: case 5: case 6: {
            const Qt::Key key = kKeys[pick(0, static_cast<int>(std::size(kKeys)) - 1)];
            QTest::keyClick(&window_, key);
            return "key";
        }
        case 7: case 8: case 9: case 10: {
            const QPoint p = point();
            const Qt::MouseButton b = button();
            test::doubleClick(view(), p, b);
            if (auto card = expected_.hitTest(p.x(), p.y()); card && isCardButton(b))
                expected_.markPlayed(*card);
            return "double-click at " + describe(p);
        }
        default:
            return pressAndRelease();
        }
    }

    std::string pressAndRelease()
    {
        const Qt::MouseButton pressed = button();
        const QPoint from = point();
        // Mostly a click in place, sometimes a release somewhere else.
        const QPoint to = pick(0, 3) == 0 ? point() : from;
        test::press(view(), from, pressed);
        test::release(view(), to, pressed);
        const auto card = expected_.hitTest(from.x(), from.y());
        if (card && isCardButton(pressed) && expected_.hitTest(to.x(), to.y()) == card)
            expected_.markPlayed(*card);
        return "press at " + describe(from) + ", release at " + describe(to);
    }

    bool boardMatches() const { return view()->board() == expected_; }

    QString screenDifference() const { return test::screenDifference(view(), expected_); }

private:
    static constexpr Qt::Key kKeys[] = {Qt::Key_Space, Qt::Key_Return, Qt::Key_Escape, Qt::Key_R,
                                        Qt::Key_A,     Qt::Key_Delete, Qt::Key_Left,   Qt::Key_Tab,
                                        Qt::Key_F1,    Qt::Key_Z};

    static bool isCardButton(Qt::MouseButton b) { return b == Qt::LeftButton || b == Qt::RightButton; }
    static std::string describe(QPoint p) { return std::to_string(p.x()) + "," + std::to_string(p.y()); }

    BoardView *view() const { return test::boardView(window_); }

    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    Qt::MouseButton button()
    {
        const int b = pick(0, 9);
        return b < 5 ? Qt::LeftButton : b < 9 ? Qt::RightButton : Qt::MiddleButton;
    }

    // Anywhere in and around the client area, with extra weight on the edges of cells.
    QPoint point()
    {
        const auto edge = [this](int pitch, int size, int count) {
            const int base = pick(0, count - 1) * pitch;
            const int offsets[] = {-1, 0, 1, size - 1, size, size + 1};
            return base + offsets[pick(0, 5)];
        };
        if (pick(0, 1) == 0)
            return {edge(kColumnPitch, kCardWidth, kRankCount), edge(kRowPitch, kCardHeight, kSuitCount)};
        return {pick(-20, kClientWidth + 20), pick(-20, kClientHeight + 20)};
    }

    void openAndDismissAbout()
    {
        QTimer::singleShot(0, [] {
            if (QWidget *box = QApplication::activeModalWidget())
                QTest::keyClick(box, Qt::Key_Return);
        });
        test::trigger(window_, "About");
    }

    std::mt19937 random_;
    MainWindow window_;
    Board expected_;
};

TEST(Storm, WindowAlwaysShowsTheBoardThroughRandomInput)
{
    const unsigned seed = qEnvironmentVariableIsSet("VELMORA_STORM_SEED")
                              ? qEnvironmentVariableIntValue("VELMORA_STORM_SEED")
                              : 20261207u;
    SCOPED_TRACE(testing::Message() << "replay with VELMORA_STORM_SEED=" << seed);
    Storm storm(seed);
    for (int i = 1; i <= kEvents; ++i) {
        const std::string event = storm.step();
        ASSERT_TRUE(storm.boardMatches()) << "event " << i << ": " << event;
        if (i % kFullCheckEvery == 0 || i == kEvents) {
            const QString difference = storm.screenDifference();
            ASSERT_TRUE(difference.isEmpty()) << "event " << i << ": " << event << ": " << difference.toStdString();
        }
    }
}

} // namespace
} // namespace velmora
