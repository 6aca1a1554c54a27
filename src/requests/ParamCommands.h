#pragma once

#include <QtGlobal>

class AppState;
class RequestBuilder;

// The buttons of the "parameters" page: each sets the chain flags and the code
// of its request and calls the request builder.
class ParamCommands {
public:
    ParamCommands(AppState &state, RequestBuilder &requests);

    void readRow(int row);  // DT0..DT16
    void writeRow(int row); // SZ0..SZ16
    void readAll();         // DTff: clears the grid first
    void writeAll();        // SZff
    void clear();           // clears the grid, sends nothing
    void readShortCircuit();
    void writeShortCircuit();

private:
    void start(quint8 code, bool readAll, bool writeAll);

    AppState &m_state;
    RequestBuilder &m_requests;
};
