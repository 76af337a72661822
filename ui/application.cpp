#include "application.h"

#include "config.h"

#include <QApplication>

namespace velmora {

void prepareToolkit()
{
    // Whole-number scale factors keep every picture pixel a sharp square:
    // 1.25 draws at 1, 1.5 and 1.75 at 2.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
}

void nameApplication()
{
    const QString name = QString::fromUtf8(config::kApplicationName);
    QApplication::setApplicationName(name);
    QApplication::setApplicationDisplayName(name);
    QApplication::setApplicationVersion(QString::fromUtf8(config::kDisplayVersion));
    QGuiApplication::setDesktopFileName(QString::fromUtf8(config::kDesktopFileId));
}

} // namespace velmora
