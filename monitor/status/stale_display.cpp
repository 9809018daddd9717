#include "status/stale_display.h"

#include "link/line.h"
#include "link/measurements.h"
#include "status/alarm_lamps.h"
#include "status/sas_decoder.h"
#include "status/schematic.h"
#include "status/status_controls.h"
#include "status/status_record.h"

namespace treld {

void showLinkStale(StatusCore& c, bool stale) {
    if (c.line.health().staleShown == stale)
        return;
    c.line.setStaleShown(stale);
    for (const SchematicLine& line : schematicLines())
        c.ui(Form::Form1, line.name).setStale(stale);
    for (const SchematicSwitch& sw : schematicSwitches()) {
        c.ui(Form::Form1, sw.closed).setStale(stale);
        c.ui(Form::Form1, sw.open).setStale(stale);
    }
    for (ElementName name : {kSource1Panel, kSource2Panel, kOutputPanel, kSoundState, kSource1Fault,
                             kSource2Fault, kOutputFault})
        c.ui(name).setStale(stale);
    for (const FlagPosition* flag : lampsInOrder()) {
        c.ui(kRedLamps, flag->lamp).setStale(stale);
        c.ui(kGreenLamps, flag->lamp).setStale(stale);
    }
    if (stale) {
        for (ElementName name : {kTemperature, kSyncAngle, kVersion, kStsTime, kStsDate})
            c.ui(name).setCaption("");
    }
    showTitle(c);
}

}  // namespace treld
