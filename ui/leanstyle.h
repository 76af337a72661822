#pragma once

#include <QProxyStyle>

namespace velmora {

// The platform's style, less the artwork of controls the fixed window never
// shows: the menu bar's overflow button would cost three image loads at start-up.
class LeanStyle : public QProxyStyle {
public:
    QIcon standardIcon(StandardPixmap icon, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
};

} // namespace velmora
