// One model dialog as a Qt window: a widget per control at the control's
// place, showing the model's state, and an event filter that turns the
// person's input into session actions (see DialogWindows.h).
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "gui/ControlViews.h"
#include "platform/session/Action.h"
#include "platform/ui/ResourceTable.h"
#include "platform/win/Types.h"

namespace kestrin::gui {

// A bitmap or icon of the module resources as an image.
QImage imageOf(const ui::ImageResource& image);

class DialogWindow : public QWidget, private ControlHost {
    Q_OBJECT
public:
    using Post = std::function<void(session::Action)>;

    DialogWindow(HWND dialog, Post post);
    ~DialogWindow() override;

    HWND handle() const { return dialog_; }
    QWidget* control(HWND control) const;

    // After a notification of the model about one of this dialog's windows.
    void syncText(HWND h);
    void syncShown(HWND h);
    void syncEnabled(HWND h);
    void syncCheck(HWND h);
    void syncList(HWND h);
    // Everything, also what changes without a notification.
    void syncAll();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void makeControl(HWND h);
    void syncControl(ControlView& view);
    void syncFont(ControlView& view);
    void syncImage(ControlView& view);
    void syncFocus();
    ControlView* viewOf(QObject* object) const;

    // The person's input.
    bool active() const override;
    bool syncing() const override { return syncing_ > 0; }
    void click(HWND control) override;
    void choose(ControlView& view, int index, session::ActionKind kind) override;
    void selectAsShown(ControlView& view, bool always) override;
    void watchPart(QWidget* part, HWND h) override;
    void post(session::Action action);
    bool keyPressed(ControlView* view, QKeyEvent* event);
    void typeText(ControlView& view, const QString& text);

    HWND dialog_;
    Post post_;
    std::map<HWND, std::unique_ptr<ControlView>> controls_;
    std::map<QObject*, HWND> parts_;  // the widgets and their inner parts (a combo's field, a list's viewport)
    int syncing_ = 0;                 // the model's state is being shown: widget signals are not the person's
    bool pending_ = false;            // an action was posted that the model has not shown back yet
};

}  // namespace kestrin::gui
