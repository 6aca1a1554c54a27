#include "i18n/widgets/CaptionFit.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QStyle>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace {
// Blank space left and right of a push button's caption.
constexpr int buttonPadding = 10;
} // namespace

namespace CaptionFit {

void padButton(QAbstractButton *button)
{
    const int frame = button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
    const int wanted =
        button->fontMetrics().horizontalAdvance(button->text()) + 2 * (buttonPadding + frame);
    button->setMinimumWidth(std::max(wanted, button->sizeHint().width()));
}

int headerWordWidth(const QHeaderView *header, const QString &text)
{
    // The header wraps where a line may break: at blanks, and between Chinese
    // characters, but not inside "SOC(%)".
    const QFontMetrics fm = header->fontMetrics();
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text);
    int widest = 0;
    qsizetype from = 0;
    while (breaks.toNextBoundary() >= 0) {
        const qsizetype to = breaks.position();
        widest = std::max(widest, fm.horizontalAdvance(text.mid(from, to - from).trimmed()));
        from = to;
    }
    const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    // Both margins, and a pixel for the grid line between sections.
    return widest + 2 * margin + 2;
}

} // namespace CaptionFit
