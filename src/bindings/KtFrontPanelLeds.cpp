#include "bindings/KtFrontPanelLeds.h"

#include "bindings/KtLedShape.h"
#include "bindings/KtSNMPRequest2Leds.h"
#include "errors/KtException.h"
#include "snmp/KtSNMPRequest.h"
#include "values/KtTypes.h"

#include <QLabel>

namespace KtFrontPanelLeds {

namespace {

using namespace KtLedColors;

constexpr int LedSize = 6;

} // namespace

const KtSNMPLedColorMapList &PowerMap()
{
    static const KtSNMPLedColorMapList map({{1, Green}, {2, Green}, {3, Green}}, 0xFF, 0, Black, Black);
    return map;
}

const KtSNMPLedColorMapList &ConsoleMap()
{
    static const KtSNMPLedColorMapList map({{1, Black}, {2, Green}, {3, Black}}, 0xFF, 0, Black, Black);
    return map;
}

const KtSNMPLedColorMapList &RpsMap()
{
    static const KtSNMPLedColorMapList map({{3, Green}, {4, Black}}, 0xFF, 0, Black, Black);
    return map;
}

const KtSNMPLedColorMapList &PortMap()
{
    static const KtSNMPLedColorMapList map({{0, Black}, {1, Amber}, {2, Green}}, 0x07, 0x80, Black, Black);
    return map;
}

const KtSNMPLedColorMapList &ComboMap()
{
    static const KtSNMPLedColorMapList map({{0, Black}, {1, Amber}, {2, Amber}, {3, Green}, {4, Green}}, 0x07,
                                           0x80, Black, Black);
    return map;
}

bool PolledUpTime(KtSNMPRequest2Leds &leds, quint32 &ticks)
{
    if (leds.Request.Vars.Count() <= UpTimeVar)
        return false;
    bool ok = false;
    ticks = leds.Request.Vars.Get(UpTimeVar).Value.toUInt(&ok);
    return ok;
}

KtSNMPRequest2Leds *SetUp(QWidget *owner, const KtFrontPanelWidgets &panels, QLabel *statusPanel)
{
    auto *leds = new KtSNMPRequest2Leds(owner);
    leds->setParent(owner);
    try {
        KtSNMPVar record;
        record.Oid = QString::fromLatin1(LedStatusOid) + QStringLiteral(".1");
        record.Label = QStringLiteral("Front Panel LED Status");
        record.Type = KtType::DisplayStr;
        record.Access = KtAccess::ReadOnly;
        KtSNMPVar upTime = record;
        upTime.Oid = QString::fromLatin1(UpTimeOid);
        upTime.Label = QStringLiteral("sysUpTime");
        upTime.Type = KtType::UInteger;
        leds->Request.Vars = KtSNMPVarList(KtSNMPVarTable{record, upTime}, KtKind::MVT_SV, 0);
        leds->SetDecodeMode(2, 3);
        leds->Request.Timeout = ReadTimeout;

        struct Row
        {
            QWidget *panel;
            const char *positions;
            const KtSNMPLedColorMapList &map;
            int left;
            int gap;
        };
        const Row rows[] = {
            {panels.PowerLedPanel, "0", PowerMap(), 1, 10},
            {panels.ConsoleLedPanel, "1", ConsoleMap(), 1, 10},
            {panels.RPSPanel, "2", RpsMap(), 1, 10},
            {panels.LedPanel1, "3,5,7,9,11,13,15,17,19,21,23,25", PortMap(), 0, 7},
            {panels.LedPanel2, "27,29,31,33,35,37,39,41,43,45,47,49", PortMap(), 0, 7},
            {panels.Combo1Panel, "51", ComboMap(), 0, 10},
            {panels.Combo2Panel, "53", ComboMap(), 0, 10},
            {panels.GEPanel1, "55", ComboMap(), 0, 10},
            {panels.GEPanel2, "57", ComboMap(), 0, 10},
        };
        for (const Row &r : rows)
            leds->AddLedRow(0, QString::fromLatin1(r.positions), &r.map, r.panel, r.left, r.gap,
                            KtLedShape::Rectangle, LedSize, LedSize);
        leds->Request.Vars.DisplayName = QStringLiteral(" Led Status");
        leds->Start(PollInterval);
        leds->SetStatusPanel(statusPanel);
    } catch (const KtException &e) {
        leds->SetStatusPanel(statusPanel);
        leds->ShowStatus(e.message());
    }
    return leds;
}

} // namespace KtFrontPanelLeds
