#include "ui/review/BoundedText.h"

QString BoundedText(const QString &text, qsizetype maxChars, bool breaks)
{
    constexpr int kMaxRun = 100;
    QString bounded;
    int run = 0;
    for (const QChar c : QStringView(text).left(maxChars)) {
        bounded += c;
        run = c.isSpace() ? 0 : run + 1;
        if (breaks && run == kMaxRun) {
            bounded += QChar(0x200B);
            run = 0;
        }
    }
    if (text.size() > maxChars)
        bounded += QChar(0x2026);
    return bounded;
}
