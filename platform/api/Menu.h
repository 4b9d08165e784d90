// Menus: items with a label and an owned message, separators, menus that own
// their items, and the pop-up menu whose Go blocks until a choice.
//
// A headless window has no screen to show a menu on: Go publishes the open
// menu in the headless record (its screen point and the number of items
// that can be chosen) and waits for the host to answer with one of them or
// to dismiss it (HeadlessHost::answerMenu). See docs/architecture.md.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/api/Message.h"
#include "platform/api/Rect.h"

class BMenuItem {
public:
    // Owns `message` (which may be null). Shortcut and modifiers are kept only.
    BMenuItem(const char* label, BMessage* message, char shortcut = 0, uint32_t modifiers = 0);
    virtual ~BMenuItem();
    BMenuItem(const BMenuItem&) = delete;
    BMenuItem& operator=(const BMenuItem&) = delete;

    const char* Label() const { return label_.c_str(); }
    void SetLabel(const char* label) { label_ = label != nullptr ? label : ""; }
    BMessage* Message() const { return message_.get(); }
    char Shortcut() const { return shortcut_; }
    void SetMarked(bool marked) { marked_ = marked; }
    bool IsMarked() const { return marked_; }
    bool IsSeparator() const { return separator_; }

protected:
    struct SeparatorTag {};
    explicit BMenuItem(SeparatorTag);

private:
    std::string label_;
    std::unique_ptr<BMessage> message_;
    char shortcut_ = 0;
    uint32_t modifiers_ = 0;
    bool marked_ = false;
    bool separator_ = false;
};

// A line between items; it cannot be chosen.
class BSeparatorItem : public BMenuItem {
public:
    BSeparatorItem();
};

enum menu_layout { B_ITEMS_IN_ROW, B_ITEMS_IN_COLUMN, B_ITEMS_IN_MATRIX };

class BMenu {
public:
    explicit BMenu(const char* name, menu_layout layout = B_ITEMS_IN_COLUMN);
    // Deletes the items.
    virtual ~BMenu();
    BMenu(const BMenu&) = delete;
    BMenu& operator=(const BMenu&) = delete;

    // Appends and takes ownership; a null item is refused.
    bool AddItem(BMenuItem* item);
    bool AddSeparatorItem() { return AddItem(new BSeparatorItem()); }
    int32_t CountItems() const { return static_cast<int32_t>(items_.size()); }
    // Null outside 0 ... CountItems() - 1.
    BMenuItem* ItemAt(int32_t index) const;
    // The first marked item, or null.
    BMenuItem* FindMarked() const;
    const char* Name() const { return name_.c_str(); }
    menu_layout Layout() const { return layout_; }

private:
    std::string name_;
    menu_layout layout_;
    std::vector<BMenuItem*> items_;
};

class BPopUpMenu : public BMenu {
public:
    // In radio mode a choice becomes the one marked item; autoRename is accepted and ignored.
    explicit BPopUpMenu(const char* name, bool radioMode = true, bool autoRename = true,
                        menu_layout layout = B_ITEMS_IN_COLUMN);

    // Opens the menu at a screen point and waits until the user chooses an
    // item (returned) or dismisses the menu (null). Only from a window's own
    // thread, which it blocks, keeping the window locked as the caller has it;
    // elsewhere null at once. The host's end of input and the window's quitting
    // dismiss. The other arguments are accepted: the chosen item is only returned.
    BMenuItem* Go(BPoint screenWhere, bool deliversMessage = false, bool openAnyway = false,
                  bool async = false);
    // Where the last Go opened (the point given), for tests.
    BPoint Location() const { return location_; }

private:
    bool radioMode_;
    BPoint location_;
};
