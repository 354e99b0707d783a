#include "ui/WindowStyle.h"

#include <QFontDatabase>
#include <QDir>
#include <QStringList>

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
    // Every size the build rendered; Qt loads one only when it is drawn.
    QIcon icon;
    const QDir icons(QStringLiteral(":/icons"));
    for (const QString& file : icons.entryList({QStringLiteral("varnel-rom-editor-*.png")})) {
        const int side = file.section(QLatin1Char('-'), -1).section(QLatin1Char('.'), 0, 0).toInt();
        icon.addFile(icons.filePath(file), QSize(side, side));
    }
    return icon;
}

}  // namespace varnel::style
