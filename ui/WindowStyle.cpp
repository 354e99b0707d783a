#include "ui/WindowStyle.h"

#include <QFontDatabase>
#include <QPixmap>
#include <QStringList>

#include "ui/icons/varnel-rom-editor-16.xpm"
#include "ui/icons/varnel-rom-editor-32.xpm"

namespace varnel::style {

QFont windowFont() {
    // Asked for by name so that Chinese text gets Simplified glyph forms even
    // where the locale is not Chinese.
    static const QStringList preferred{QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                                       QStringLiteral("Source Han Sans SC"), QStringLiteral("Microsoft YaHei"),
                                       QStringLiteral("SimSun")};
    // Only the installed ones: with more than one family asked for, Qt sorts
    // every installed font into a fallback list each time it loads the font
    // for a script, and a missing family adds nothing to what is drawn.
    const QStringList installed = QFontDatabase::families();
    QStringList families;
    for (const QString& family : preferred) {
        if (installed.contains(family)) families.push_back(family);
    }
    QFont font;
    font.setFamilies(families.isEmpty() ? preferred : families);
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
