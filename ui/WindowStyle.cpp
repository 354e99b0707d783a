#include "ui/WindowStyle.h"

#include <QPixmap>
#include <QStringList>

#include "ui/icons/varnel-rom-editor-16.xpm"
#include "ui/icons/varnel-rom-editor-32.xpm"

namespace varnel::style {

QFont windowFont() {
    QFont font;
    // Asked for by name so that Chinese text gets Simplified glyph forms even
    // where the locale is not Chinese.
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("Source Han Sans SC"), QStringLiteral("Microsoft YaHei"),
                      QStringLiteral("SimSun")});
    // Two lines of a larger size need more than a 25-pixel label holds.
    font.setPixelSize(10);
    return font;
}

QIcon windowIcon() {
    QIcon icon;
    icon.addPixmap(QPixmap(varnelIcon16));
    icon.addPixmap(QPixmap(varnelIcon32));
    return icon;
}

}  // namespace varnel::style
