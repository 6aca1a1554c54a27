#include "records/StoredRecords.h"

#include "shell/Core.h"

StoredRecords::StoredRecords(Core &core) : m_core(core) {}

void StoredRecords::requestCount() {}
void StoredRecords::getData() {}
void StoredRecords::handleCount() {}
void StoredRecords::handleRecord() {}
