// Velmora with the marker picture of one cell missing, so that the fatal error
// path can be driven end to end. Built for the tests only.

#include <ui/application.h>
#include <ui/form1.h>
#include "rendering.h"

#include <pictures/pictures.h>

#include <QApplication>

int main(int argc, char **argv)
{
    const auto app = velmora::startApplication(argc, argv);

    std::array<QPixmap, velmora::kCardCount> cards;
    for (int i = 0; i < velmora::kCardCount; ++i) {
        const velmora::Card card = velmora::cardAt(i);
        cards[i] = QPixmap::fromImage(velmora::test::pictureImage(velmora::cardPicture(card.rank, card.suit)));
    }
    velmora::Form1 window(velmora::CardPixmaps(cards, QPixmap()));
    window.show();
    return QApplication::exec();
}
