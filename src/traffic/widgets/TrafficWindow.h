#pragma once

#include <QWidget>

class AppState;
class QComboBox;
class QLabel;
class QPushButton;
class QTableView;
class TrafficFilter;
class TrafficModel;

// The traffic console: every frame on the line as a table, in a resizable
// window of its own that remembers its size and place. Closing it only hides
// it; it goes on recording (unless paused) until the program ends.
class TrafficWindow : public QWidget {
    Q_OBJECT
public:
    // Records from `model`, which outlives the window.
    TrafficWindow(AppState &state, TrafficModel &model, QWidget *parent = nullptr);

    void applyCaptions();
    void present();
    // Asks for a file and writes the rows shown to it.
    void save();

    TrafficModel &model() const { return m_model; }
    TrafficFilter *filter() const { return m_filter; }
    QTableView *table() const { return m_table; }
    QComboBox *directionList() const { return m_direction; }
    QComboBox *itemList() const { return m_item; }
    QPushButton *pauseButton() const { return m_pause; }
    QPushButton *clearButton() const { return m_clear; }
    QPushButton *saveButton() const { return m_save; }

    static QString title();

protected:
    void hideEvent(QHideEvent *event) override;

private:
    void fillLists();
    void showRowCount();
    void followNewRows();

    AppState &m_state;
    TrafficModel &m_model;
    TrafficFilter *m_filter = nullptr;
    QTableView *m_table = nullptr;
    QLabel *m_directionLabel = nullptr;
    QComboBox *m_direction = nullptr;
    QLabel *m_itemLabel = nullptr;
    QComboBox *m_item = nullptr;
    QPushButton *m_pause = nullptr;
    QPushButton *m_clear = nullptr;
    QPushButton *m_save = nullptr;
    QLabel *m_count = nullptr;
    bool m_atBottom = true;
    bool m_placed = false;
};
