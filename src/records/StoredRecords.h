#pragma once

class Core;

// Reads the history records kept in the BMS's flash: the count (code 160),
// then one record per request (code 161), newest index first.
class StoredRecords {
public:
    explicit StoredRecords(Core &core);

    void requestCount(); // "Number of stored data"
    void getData();      // "get data"
    void handleCount();  // reply item 71, operation 0
    void handleRecord(); // reply item 70, operation 0

private:
    Core &m_core;
};
