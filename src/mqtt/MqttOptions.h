#pragma once

#include "base/Result.h"

#include <QString>

// How the bridge reaches its broker and names what it publishes. Filled from
// the command line; everything but the host has a usable default.
struct MqttOptions {
    QString host;
    int port = 1883;
    QString username;
    QString password;
    // Certificate authority that signed the broker's certificate; set, the
    // connection is TLS.
    QString tlsCaFile;
    QString topicPrefix = QStringLiteral("cellvane");
    // Empty: the library picks a random one, so that two bridges on one
    // broker never throw each other off.
    QString clientId;
    bool haDiscovery = false;
    QString discoveryPrefix = QStringLiteral("homeassistant");
    // Text Home Assistant shows as the maker of every pack.
    QString manufacturer = QStringLiteral("Cellvane");
    // Seconds between polling cycles; the poller reads it, the broker's
    // keep-alive is derived from it.
    int intervalSeconds = 5;
    // Waits between reconnection attempts: the first, doubled after each
    // failure up to the last.
    int reconnectMinMs = 1000;
    int reconnectMaxMs = 60000;
    // A broker that neither accepts nor refuses within this time is given up
    // and tried again.
    int connectTimeoutMs = 10000;

    // Fails with the reason when the options cannot be used.
    Result<void> validate() const;
    int keepAliveSeconds() const;
};

// Splits HOST[:PORT] (an IPv6 address in brackets) into the options' host and
// port. On failure nothing changes.
Result<void> parseBrokerAddress(const QString &text, MqttOptions *options);

// The password is kept in a file so that it appears neither in the process
// list nor in the unit file. The first line is the password; a missing,
// unreadable or empty file gives a message naming the file.
Result<QString> readPasswordFile(const QString &path);
