#pragma once

#include "link/Frame.h"
#include "requests/ParamForm.h"
#include "requests/SystemForm.h"
#include "shell/Core.h"
#include "support/FakePort.h"
#include "support/RecordingPrompt.h"

#include <QDateTime>

#include <memory>

// A core on a scripted port, opened, in English, with the BMS clock pinned.
struct RequestRig {
    RecordingPrompt prompt;
    Core core{prompt, std::make_unique<FakePort>()};

    explicit RequestRig(bool open = true)
    {
        core.state.setEnglishUi(true);
        core.requests.setClock([] { return QDateTime(QDate(2024, 3, 9), QTime(7, 5, 0)); });
        if (open)
            core.link.toggleOpen();
    }

    FakePort &port() { return static_cast<FakePort &>(core.link.port()); }
    AppState &state() { return core.state; }

    // The frame the host must put on the wire (default address and protocol).
    static QByteArray request(int operation, int item, const QByteArray &hexData)
    {
        return Frame::build(Frame::requestStart, 0xFF, 0x10, quint8(operation), quint8(item),
                            QByteArray::fromHex(hexData));
    }

    // "control=value" on a page: texts take the value, check boxes and option
    // groups a number.
    static void apply(Form &page, const QStringList &assignments)
    {
        for (const QString &a : assignments) {
            const qsizetype eq = a.indexOf(QLatin1Char('='));
            const QString control = a.left(eq);
            const QString value = a.mid(eq + 1);
            switch (page.kind(control)) {
            case Form::Kind::Check:
                page.setCheck(control, value.toInt());
                break;
            case Form::Kind::Choice:
                page.setChoice(control, value.toInt());
                break;
            default:
                page.setText(control, value);
            }
        }
    }

    // Every box a write reads, filled with values whose wire form the tests
    // spell out byte by byte.
    void fillPages()
    {
        Form &param = core.state.param;
        for (int r = 0; r < ParamField::rows; ++r) {
            apply(param, {ParamField::cs(5 * r) + "=2.5", ParamField::cs(5 * r + 1) + "=1.5",
                          ParamField::cs(5 * r + 2) + "=3.6", ParamField::cs(5 * r + 3) + "=3.4",
                          ParamField::cs(5 * r + 4) + "=2", ParamField::fx(2 * r) + "=1",
                          ParamField::fx(2 * r + 1) + "=0"});
        }
        apply(param, {ParamField::shortVoltageLevel + "=5", ParamField::shortDelayLevel + "=12"});

        using namespace SystemField;
        Form &sys = core.state.system;
        apply(sys, {projectNumber + "=PN-01",
                    model + "=BMS16S",
                    batteryId + "=ID123",
                    customText + "=Hi",
                    ip + "=10.0.0.1",
                    ipPort + "=502",
                    productionDate + "=2021-03-05",
                    shippingDate + "=2024-01-31",
                    batch + "=000AFF1000000001",
                    balanceEnable + "=1",
                    balanceOpen + "=3.4",
                    balanceDiff + "=0.03",
                    balanceClose + "=3.35",
                    cellNumber + "=16",
                    lowCellNumber + "=8",
                    ntcNumber + "=4",
                    soc + "=85.5",
                    cycles + "=12",
                    standardCapacity + "=100",
                    fullCapacity + "=98.76",
                    attenuationCycles + "=800",
                    zeroCalibration + "=0",
                    chargeCalibration + "=10",
                    dischargeCalibration + "=20",
                    samplingResistor + "=0.5",
                    usart + "=02",
                    baud + "=115200",
                    parity + "=2",
                    handshake + "=1",
                    customSelection + "=2",
                    preDischarge + "=1",
                    preDischargeTime + "=1.5",
                    moduleAddress + "=3",
                    limitEnable + "=1",
                    limitMode + "=2",
                    limitThreshold + "=50",
                    limitTime + "=30"});
        for (int g = 0; g < 3; ++g) {
            apply(sys, {activeEnable(g) + (g == 1 ? "=0" : "=1"), activeValue(g, 0) + "=3.5",
                        activeValue(g, 1) + "=3.45", activeValue(g, 2) + "=0.05",
                        activeValue(g, 3) + "=0.01", activeValue(g, 4) + "=60"});
        }
        core.state.recordIndex = 300;
    }
};
