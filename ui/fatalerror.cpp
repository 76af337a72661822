#include "fatalerror.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>

namespace velmora {

void reportFatalError(const std::string &what)
{
    std::fprintf(stderr, "velmora: fatal error: %s\n", what.c_str());
    std::fflush(stderr);
    QMessageBox box(QMessageBox::Critical, QGuiApplication::applicationDisplayName(),
                    QStringLiteral("Velmora has to close because of an error:\n%1")
                        .arg(QString::fromStdString(what)),
                    QMessageBox::Ok);
    box.exec();
    // The state is only what is on screen, so there is nothing to save or clean up.
    std::_Exit(EXIT_FAILURE);
}

} // namespace velmora
