#pragma once

#include <QAbstractTableModel>

#include <functional>

class BankPoller;
struct BankPack;

// The bank table as a model: one row per polled pack, in the poller's order,
// its cells the pack's latest values as texts (DisplayRole), as numbers to
// sort by (SortRole) and with how serious the pack's conditions are for that
// cell (SeverityRole), which the view turns into colours. Kept apart from the
// widgets so everything the table shows can be checked without a window.
class BankTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        Address,
        State,
        BatteryId,
        Voltage,
        Current,
        Soc,
        Soh,
        MaxCell,
        MinCell,
        CellDifference,
        MaxTemperature,
        MinTemperature,
        Mos,
        Conditions,
        Age,
        ColumnCount
    };
    enum Role { SortRole = Qt::UserRole + 1, SeverityRole, AddressRole };
    // SeverityRole values, worst last.
    enum Severity { Normal, Alarm, Protection, Stale };

    BankTableModel(const BankPoller &poller, std::function<qint64()> clock,
                   QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Around a change of the packs polled (a new scan): rows anew.
    void beginReload() { beginResetModel(); }
    void endReload() { endResetModel(); }
    // The pack at `address` has new values.
    void packChanged(int address);
    // Time passed: the age column.
    void refreshAges();
    // The language changed: every text.
    void retranslate();

    // Texts of one pack's cells, as the table shows them.
    static QString cellText(const BankPack &pack, int column, qint64 nowMs);
    static int severity(const BankPack &pack, int column);
    static QString columnTitle(int column);
    static QString ageText(const BankPack &pack, qint64 nowMs);

private:
    const BankPoller &m_poller;
    std::function<qint64()> m_clock;
};
