// Menu items, menus and the pop-up menu's wait on the window's thread.
#include "platform/api/Menu.h"

#include "platform/api/Window.h"

BMenuItem::BMenuItem(const char* label, BMessage* message, char shortcut, uint32_t modifiers)
    : label_(label != nullptr ? label : ""), message_(message), shortcut_(shortcut),
      modifiers_(modifiers)
{
}

BMenuItem::BMenuItem(SeparatorTag) : separator_(true) {}

BMenuItem::~BMenuItem() = default;

BSeparatorItem::BSeparatorItem() : BMenuItem(SeparatorTag{}) {}

BMenu::BMenu(const char* name, menu_layout layout)
    : name_(name != nullptr ? name : ""), layout_(layout)
{
}

BMenu::~BMenu()
{
    for (BMenuItem* item : items_)
        delete item;
}

bool BMenu::AddItem(BMenuItem* item)
{
    if (item == nullptr)
        return false;
    items_.push_back(item);
    return true;
}

BMenuItem* BMenu::ItemAt(int32_t index) const
{
    if (index < 0 || index >= CountItems())
        return nullptr;
    return items_[static_cast<size_t>(index)];
}

BMenuItem* BMenu::FindMarked() const
{
    for (BMenuItem* item : items_) {
        if (item->IsMarked())
            return item;
    }
    return nullptr;
}

BPopUpMenu::BPopUpMenu(const char* name, bool radioMode, bool, menu_layout layout)
    : BMenu(name, layout), radioMode_(radioMode)
{
}

BMenuItem* BPopUpMenu::Go(BPoint screenWhere, bool, bool, bool)
{
    location_ = screenWhere;
    BWindow* window = BWindow::ofThisThread();
    if (window == nullptr)
        return nullptr;
    std::vector<BMenuItem*> choosable;
    std::vector<const char*> labels;
    for (int32_t i = 0; i < CountItems(); ++i) {
        if (!ItemAt(i)->IsSeparator()) {
            choosable.push_back(ItemAt(i));
            labels.push_back(ItemAt(i)->Label());
        }
    }
    const int32_t choice =
        window->runMenu(screenWhere, labels.data(), static_cast<int32_t>(choosable.size()));
    if (choice < 0)
        return nullptr;
    BMenuItem* chosen = choosable[static_cast<size_t>(choice)];
    if (radioMode_) {
        for (BMenuItem* item : choosable)
            item->SetMarked(item == chosen);
    }
    return chosen;
}
