#pragma once

#include <QDialog>

class QLabel;

// What the program is for and where to get help. Not modal.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget *parent = nullptr);
    void applyCaptions();

    QLabel *label1() const { return m_label1; }
    QLabel *label2() const { return m_label2; }

private:
    QLabel *m_label1 = nullptr;
    QLabel *m_label2 = nullptr;
};
