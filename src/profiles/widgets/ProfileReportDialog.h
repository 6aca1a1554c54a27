#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

// What an apply did, item by item, in a box that can be read line by line,
// selected and copied.
class ProfileReportDialog : public QDialog {
    Q_OBJECT
public:
    explicit ProfileReportDialog(QWidget *parent = nullptr);

    void present(const QString &text);
    QString text() const;
    QPlainTextEdit *textBox() const { return m_text; }
    void applyCaptions();

private:
    QPlainTextEdit *m_text = nullptr;
    QPushButton *m_close = nullptr;
};
