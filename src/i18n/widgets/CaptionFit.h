#pragma once

class QAbstractButton;
class QHeaderView;
class QString;

// Captions change their length with the language; these keep them readable in
// both. Called again after every caption change.
namespace CaptionFit {
// Room on both sides of a push button's caption, as wide as the caption asks.
void padButton(QAbstractButton *button);
// The narrowest header section in which every piece of `text` between two
// line-break opportunities fits, so a wrapped header is never cut.
int headerWordWidth(const QHeaderView *header, const QString &text);
} // namespace CaptionFit
