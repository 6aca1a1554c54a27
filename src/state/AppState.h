#pragma once

#include "base/Form.h"
#include "link/LinkExchange.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class UserPrompt;

// The one record of shared state for the whole run: the variables every
// exchange passes through and the contents of every page. All of it lives on
// the event-loop thread; nothing here is locked.
class AppState : public QObject, public LinkExchange {
    Q_OBJECT
public:
    // The pages' forms belong to their subsystems, which sit above this state;
    // whoever assembles the program names them through `defineForms`.
    explicit AppState(UserPrompt &prompt, const std::function<void(AppState &)> &defineForms = {},
                      QObject *parent = nullptr);

    UserPrompt &prompt;

    bool readAllActive = false;
    bool writeAllActive = false;
    int selectedTab = 2; // 1..8 from the left

    // Stored records (the grid shows these rows).
    bool fetchAllRecords = false;
    qint32 recordIndex = 0;
    QStringList storedRows;
    int storedRowCount() const { return int(storedRows.size()); }

    // Live recording and its conversion.
    QString recordFilePath;
    qint32 recordLineCount = 0;
    qint32 convertedLineCount = 0;
    QString exportXlsxPath;

    // Link settings saved while an APP upgrade runs at its own baud rate.
    int savedBaudIndex = 0;
    int savedParityIndex = 0;

    // Page contents.
    Form link{QStringLiteral("LinkPanel")};
    Form scan{QStringLiteral("BusScan")}; // the link page's bus scan
    Form info{QStringLiteral("InfoPanel")};
    Form param{QStringLiteral("ParamPanel")};
    Form system{QStringLiteral("SystemPanel")};
    Form record{QStringLiteral("RecordPanel")};
    Form stored{QStringLiteral("StoredDataPanel")};
    Form upgrade{QStringLiteral("UpgradePanel")};
    Form bank{QStringLiteral("BankPanel")}; // the packs on the line (tab 8)

    // 1 selects English, 0 Chinese. Setting it installs the matching
    // translations, so every tr() text built afterwards is in that language.
    quint8 englishUi() const { return m_englishUi; }
    void setEnglishUi(bool english);

    QString statusLine() const { return m_statusLine; }
    void setStatusLine(const QString &text);

    // The stored-records grid changed: rows appended or the grid reset.
    void notifyStoredRowsChanged() { emit storedRowsChanged(); }

    // A live item of the polling cycle was decoded onto the information page.
    void notifyLiveItemDecoded(quint8 item) { emit liveItemDecoded(item); }

signals:
    void languageChanged();
    void statusLineChanged(const QString &text);
    void storedRowsChanged();
    void liveItemDecoded(quint8 item);

private:
    quint8 m_englishUi = 0;
    QString m_statusLine;
};
