// Receive assembly on a stream of valid frames mixed with noise, in the read
// sizes the receive timer sees: small pieces at speed, full 255-byte reads
// when the window was busy.

#include "base/UserPrompt.h"
#include "link/Frame.h"
#include "link/LinkController.h"
#include "link/PortIo.h"
#include "link/ReceiveAssembler.h"
#include "shell/Core.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QRandomGenerator>

#include <memory>

namespace {

// About 1 MB: live-data answers of typical sizes, with `noisePercent` of the
// bytes being random garbage (0x5D included) between them.
QByteArray makeStream(int noisePercent)
{
    QRandomGenerator gen(2024);
    QByteArray stream;
    const int sizes[] = {12, 40, 64, 72, 110, 130};
    int k = 0;
    while (stream.size() < (1 << 20)) {
        QByteArray data(sizes[k++ % 6], '\0');
        for (char &c : data)
            c = char(gen.bounded(256));
        const QByteArray frame = Frame::build(Frame::responseStart, 0xFF, 0x10, 0, quint8(k), data);
        if (noisePercent > 0) {
            const int noise = int(frame.size()) * noisePercent / (100 - noisePercent);
            for (int i = 0; i < noise; ++i)
                stream.append(char(gen.bounded(256)));
        }
        stream += frame;
    }
    return stream;
}

void assembler(benchmark::State &state)
{
    const QByteArray stream = makeStream(int(state.range(0)));
    const int chunk = int(state.range(1));
    QByteArray rxFrame;
    qint64 frames = 0;
    for (auto _ : state) {
        ReceiveAssembler a;
        for (qsizetype i = 0; i < stream.size(); i += chunk)
            a.step(QByteArrayView(stream).sliced(i, qMin<qsizetype>(chunk, stream.size() - i)),
                   0xFF, 0x10, [&](QByteArrayView frame, int) {
                       rxFrame = frame.toByteArray();
                       ++frames;
                   });
        benchmark::DoNotOptimize(rxFrame.data());
    }
    state.SetBytesProcessed(state.iterations() * stream.size());
    state.counters["frames/s"] = benchmark::Counter(double(frames), benchmark::Counter::kIsRate);
}
BENCHMARK(assembler)
    ->ArgNames({"noise%", "read"})
    ->Args({0, 255})
    ->Args({10, 255})
    ->Args({50, 255})
    ->Args({10, 16})
    ->Unit(benchmark::kMillisecond);

// The whole receive step of the link: the read from the port, the assembly,
// rxFrame and the hand-over.
class MemoryPort : public PortIo {
public:
    QByteArray data;
    qsizetype pos = 0;
    int chunk = 255;
    OpenResult open(const QString &, const Settings &, int *) override { return OpenResult::Ok; }
    bool isOpen() const override { return true; }
    QByteArray read(int maxBytes) override
    {
        const qsizetype n = qMin<qsizetype>(qMin(maxBytes, chunk), data.size() - pos);
        const QByteArray piece = data.mid(pos, n);
        pos += n;
        return piece;
    }
    qint64 write(const QByteArray &bytes) override { return bytes.size(); }
    void flush() override {}
    void close() override {}
    qintptr handleValue() const override { return 1; }
    bool probe(const QString &) override { return false; }
};

class SilentPrompt : public UserPrompt {
public:
    void message(const QString &, const QString &, Icon) override {}
    bool question(const QString &, const QString &) override { return false; }
    QString openFileName(const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &) override { return {}; }
};

void receiveStep(benchmark::State &state)
{
    SilentPrompt prompt;
    auto port = std::make_unique<MemoryPort>();
    MemoryPort *memory = port.get();
    memory->data = makeStream(int(state.range(0)));
    memory->chunk = int(state.range(1));
    Core core(prompt, std::move(port));
    qint64 frames = 0;
    core.link.setDispatchHandler([&] { ++frames; });
    core.link.setRequestHandler([] {});
    core.state.link.setEntries(QStringLiteral("COM"), {QStringLiteral("COM1")}, 0);
    for (auto _ : state) {
        memory->pos = 0;
        while (memory->pos < memory->data.size())
            core.link.receiveStep();
    }
    state.SetBytesProcessed(state.iterations() * memory->data.size());
    state.counters["frames/s"] = benchmark::Counter(double(frames), benchmark::Counter::kIsRate);
}
BENCHMARK(receiveStep)
    ->ArgNames({"noise%", "read"})
    ->Args({10, 255})
    ->Args({10, 16})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
