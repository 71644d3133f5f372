// What the host program (cadhost) asks of the host as a whole: the current
// drawing, the command line's commands, input sent to the document, default
// context menus and the support path. The plug-in never uses this; it calls
// the host API functions.
#pragma once

#include <optional>
#include <string>
#include <vector>

class AcDbDatabase;
class AcEdUIContext;

namespace kestrin::host {

class HostRuntime {
public:
    static HostRuntime& instance();

    // Drawing. Errors come back as a message (UTF-8) naming the file and why;
    // the current drawing is kept when an open fails.
    void newDrawing();
    bool openDrawing(const std::string& path, std::string& error);
    // `version` ("R2000", "AC1015"; empty for the drawing's own) writes the
    // drawing in another version; `dropped` then receives what that version
    // could not hold ("2 MTEXT, 1 HATCH", empty when nothing).
    bool saveDrawing(const std::string& path, std::string& error, const std::string& version = {},
                     std::string* dropped = nullptr);
    // The DXF version the current drawing was read in ("R2018"), R2000 for a new one.
    std::string drawingVersion() const;
    const std::string& drawingPath() const;
    // Opens the recovery file `recovery` in place of the drawing `drawing`
    // (UTF-8; empty: a new drawing): the drawing keeps its own name, so that
    // a save writes it there.
    bool recoverDrawing(const std::string& recovery, const std::string& drawing, std::string& error);

    // Runs the command typed at the command line (case-insensitive, a leading
    // '_' or '.' accepted). An unknown name prints the host's message on the
    // command line and answers false.
    bool runCommand(const std::string& name);
    bool hasCommand(const std::string& name) const;

    // Strings sent to the current document (sendStringToExecute) that wait to
    // run as typed input, oldest first. A string sent with echo is echoed on
    // the command line when it is taken (that is when it runs).
    std::optional<std::string> takeSentInput();

    // Default context menus registered by modules, in registration order, with
    // the name each was registered under (CP1251).
    struct ContextMenu {
        AcEdUIContext* context;
        const void* appId;
        std::string name;
    };
    std::vector<ContextMenu> defaultContextMenus() const;

    // Folders searched by acedFindFile after the drawing's and the current one.
    void addSupportPath(const std::string& dir);
    std::vector<std::string> supportPath() const;
    void clearSupportPath();

    // The current drawing (never null after construction).
    AcDbDatabase* database() const;

    // Back to a new drawing with no commands, menus or queued input (tests).
    void reset();
};

}  // namespace kestrin::host
