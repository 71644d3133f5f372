// The host with its test drawing, a scripted session and a fresh text
// properties record, for the plug-in's operations called directly.
#pragma once

#include "host/api/HostSession.h"
#include "plugin/palette/TextProperties.h"
#include "tests/host/api/HostFixture.h"

namespace kestrin::test {

class PluginTest : public HostTest {
protected:
    PluginTest() { g_textProperties = TextProperties{}; }
    ~PluginTest() override { g_textProperties = TextProperties{}; }

    // The object an entity name of the record names.
    AcDbObjectId recordEntityId() {
        AcDbObjectId out;
        acdbGetObjectId(out, g_textProperties.entity);
        return out;
    }
};

}  // namespace kestrin::test
