#pragma once

#include <QByteArray>
#include <QList>
#include <QRandomGenerator>

// The faults of a poor serial line, applied to what the pack hears and says:
// lost requests, answers with a broken CRC, junk bytes before an answer,
// answers that trickle out in small pieces, and answer latency. All decisions
// come from one seeded generator, so a seed and the same sequence of requests
// give the same faults every run.
class FaultInjector {
public:
    struct Options {
        double dropProbability = 0;
        double corruptProbability = 0;
        double noiseProbability = 0;
        bool split = false;
        int delayMs = 0;
        quint32 seed = 1;
    };
    struct Chunk {
        QByteArray bytes;
        int gapMs = 0; // wait before writing this chunk
    };
    struct Delivery {
        bool corrupted = false;
        int noiseBytes = 0;
        QList<Chunk> chunks;
    };
    static constexpr int maxNoiseBytes = 8;
    static constexpr int maxChunkBytes = 8;
    static constexpr int maxGapMs = 4;

    explicit FaultInjector(const Options &options);

    // Whether the next request is lost on the line (the pack never hears it).
    bool dropRequest();
    // How an answer goes out on the line.
    Delivery deliver(const QByteArray &frame);

private:
    bool chance(double probability);

    Options m_options;
    QRandomGenerator m_rng;
};
