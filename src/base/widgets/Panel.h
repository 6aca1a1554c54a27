#pragma once

#include <QWidget>

// A page of the tab strip. Pages exist from start-up to shutdown and are only
// hidden and shown; the caption routine calls applyCaptions() on every page
// when the language changes.
class Panel : public QWidget {
    Q_OBJECT
public:
    explicit Panel(QWidget *parent = nullptr);
    virtual void applyCaptions() = 0;

    // A caption as a screen reader should say it: without the blanks that
    // align it and without its colon ("  电池ID：" -> "电池ID").
    static QString nameFromCaption(const QString &caption);

    // Names a value box after its caption. Screen readers on Linux ignore a
    // drop-down list's name and read its description instead, and an
    // editable list's text box is a control of its own that needs the name too.
    static void nameField(QWidget *field, const QString &caption);
};
