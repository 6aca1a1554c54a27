#pragma once

#include "traffic/TrafficRow.h"

#include <QAbstractTableModel>
#include <QTimer>

#include <deque>
#include <vector>

class LinkTap;

// The traffic console's rows: what the link reports, the last `capacity` of
// it. Rows arrive from inside the link's send and receive steps and are only
// queued there; they reach the model, and so the view, in one batch at most
// every flushIntervalMs, so watching the line never holds up the line.
//
// While paused nothing is recorded; the count of what was missed becomes a row
// of its own when recording resumes.
class TrafficModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        Time,
        Direction,
        Address,
        Operation,
        Item,
        Length,
        Command,
        Crc,
        Bytes,
        ColumnCount
    };
    enum Role {
        FullTextRole = Qt::UserRole, // every byte, for saving
        KindRole,                    // TrafficRow::Kind as an int
        ItemRole,                    // the item byte, -1 for rows without one
    };
    static constexpr int capacity = 20000;
    static constexpr int flushIntervalMs = 100;
    // Bytes shown in the table cell; the tooltip and the saved file have all.
    static constexpr int shownBytes = 160;

    explicit TrafficModel(QObject *parent = nullptr);

    // Records everything `tap` reports from now on.
    void attach(LinkTap &tap);
    void add(TrafficRow row);
    // Moves the queued rows into the model; the batch timer calls it.
    void flush();
    int pendingCount() const { return int(m_pending.size()); }

    bool paused() const { return m_paused; }
    void setPaused(bool paused);
    // Forgets every row, shown and queued.
    void clear();
    // The language changed: headers and texts are rebuilt when next asked for.
    void retranslate();

    const TrafficRow &row(int index) const { return m_rows[size_t(index)]; }
    static QString cellText(const TrafficRow &row, int column, bool full = false);
    static QString columnTitle(int column);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

signals:
    void pausedChanged(bool paused);

private:
    std::deque<TrafficRow> m_rows;
    std::vector<TrafficRow> m_pending;
    QTimer m_flushTimer;
    bool m_paused = false;
    qint64 m_skipped = 0;
    qint64 m_firstSkippedMs = 0;
};
