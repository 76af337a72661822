#include "fatalerror.h"

#include <QApplication>
#include <QMessageBox>

namespace velmora {

void reportFatalError(const std::string &what)
{
    endAfterFatalError(what, [](const std::string &text) {
        QMessageBox box(QMessageBox::Critical, QGuiApplication::applicationDisplayName(),
                        QString::fromStdString(text), QMessageBox::Ok);
        box.exec();
    });
}

} // namespace velmora
