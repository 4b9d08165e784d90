// The option menu: its entry arithmetic (texts move between buffers, never
// pointers), its pressed look, and the platform pop-up menu it runs.
#include "gui/controls/COptionMenu.h"

#include <cstdio>
#include <cstring>

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/CFrame.h"
#include "gui/MouseButtons.h"
#include "gui/PlugView.h"
#include "gui/controls/TextBuffer.h"
#include "platform/api/Menu.h"
#include "platform/api/Message.h"

COptionMenu::COptionMenu(const CRect& rect, CControlListener* owner, int32_t controlTag,
                         CBitmap* picture, CBitmap* pressed, int32_t displayStyle)
    : CParamDisplay(rect, picture, displayStyle)
{
    listener = owner;
    tag = controlTag;
    replacePicture(pressedBackground, pressed);
}

COptionMenu::~COptionMenu()
{
    removeAllEntry();
    replacePicture(pressedBackground, nullptr);
}

bool COptionMenu::addEntry(char* txt, int32_t index)
{
    if (entryCount > kMaxEntries - 1)
        return false;
    entries[entryCount] = new char[kParamTextSize];
    int32_t p = entryCount;
    if (index >= 0) {
        for (int32_t i = entryCount - 1; i >= index; i--)
            std::memcpy(entries[i + 1], entries[i], kParamTextSize);
        p = index < entryCount ? index : entryCount;
        if (currentIndex >= index)
            currentIndex++;
    }
    copyText255(entries[p], txt ? txt : "");
    entryCount++;
    if (currentIndex < 0)
        currentIndex = 0;
    return true;
}

bool COptionMenu::removeEntry(int32_t index)
{
    if (index < 0 || index >= entryCount)
        return false;
    for (int32_t i = index + 1; i < entryCount; i++)
        std::memcpy(entries[i - 1], entries[i], kParamTextSize);
    if (currentIndex >= index)
        currentIndex--;
    delete[] entries[entryCount - 1];
    entries[entryCount - 1] = nullptr;
    if (--entryCount == 0)
        currentIndex = -1;
    return true;
}

bool COptionMenu::removeAllEntry()
{
    for (int32_t i = 0; i < entryCount; i++) {
        delete[] entries[i];
        entries[i] = nullptr;
    }
    entryCount = 0;
    currentIndex = -1;
    return true;
}

bool COptionMenu::getEntry(int32_t index, char* txt)
{
    if (index < 0 || index >= entryCount)
        return false;
    if (txt)
        std::strcpy(txt, entries[index]);
    return true;
}

int32_t COptionMenu::getIndex(char* txt)
{
    if (!txt)
        return -1;
    for (int32_t i = 0; i < entryCount; i++)
        if (std::strcmp(entries[i], txt) == 0)
            return i;
    return -1;
}

bool COptionMenu::setCurrent(int32_t index, bool withSeparators)
{
    if (index < 0 || index >= entryCount)
        return false;
    if (withSeparators) {
        if (isSeparator(entries[index]))
            return false;
        currentIndex = index;
    } else {
        // Past the last choosable entry this lands on the last position.
        int32_t counted = 0;
        int32_t position = 0;
        for (; position < entryCount; position++) {
            if (!isSeparator(entries[position]) && ++counted > index)
                break;
        }
        currentIndex = position < entryCount ? position : entryCount - 1;
    }
    setDirty(true);
    return true;
}

int32_t COptionMenu::getCurrent(char* txt, bool withSeparators)
{
    if (currentIndex < 0)
        return -1;
    if (txt)
        std::strcpy(txt, entries[currentIndex]);
    if (withSeparators)
        return currentIndex;
    int32_t counted = 0;
    for (int32_t i = 0; i < currentIndex; i++)
        if (!isSeparator(entries[i]))
            counted++;
    return counted;
}

void COptionMenu::currentText(char* txt) const
{
    if (currentIndex >= 0 && currentIndex < entryCount)
        std::snprintf(txt, kParamTextSize, "%s", entries[currentIndex]);
    else
        txt[0] = '\0';
}

void COptionMenu::draw(CDrawContext* context)
{
    char shown[kParamTextSize];
    currentText(shown);
    drawText(context, shown, nullptr);
}

void COptionMenu::mouse(CDrawContext* context, CPoint&)
{
    if (!press(context, kMousePrimary | kMouseSecondary))
        return;
    if (pressedBackground) {
        char shown[kParamTextSize];
        currentText(shown);
        drawText(context, shown, pressedBackground);
    }
    if (CFrame* frame = getParent()) {
        frame->setEditView(this);
        takeFocus();
    }
}

void COptionMenu::takeFocus()
{
    CFrame* frame = getParent();
    if (!frame || !frame->getPlugView())
        return;
    PlugView* plugView = frame->getPlugView();
    auto* menu = new BPopUpMenu("popup", false, false, B_ITEMS_IN_COLUMN);
    for (int32_t i = 0; i < entryCount; i++) {
        if (isSeparator(entries[i])) {
            menu->AddSeparatorItem();
            continue;
        }
        auto* message = new BMessage(0);
        message->AddInt32("item", i);
        auto* item = new BMenuItem(entries[i], message);
        if ((style & kStyleMarkCurrent) && i == currentIndex)
            item->SetMarked(true);
        menu->AddItem(item);
    }

    CRect fs;
    if (!frame->getSize(&fs))
        fs = CRect{};
    BPoint where(static_cast<float>(fs.left + size.left),
                 static_cast<float>(fs.top + ((style & kStyleMenuOnTop) ? size.top : size.bottom)));
    plugView->ConvertToScreen(&where);

    int32_t position = -1;
    BMenuItem* chosen = menu->Go(where, false, false, false);
    // A position outside the entries (they cannot change while the menu is
    // open, but a message is only data) changes nothing.
    if (chosen && chosen->Message() && chosen->Message()->FindInt32("item", &position) == B_OK &&
        position >= 0 && position < entryCount) {
        currentIndex = position;
        CDrawContext context(frame, plugView, nullptr);
        setValue(static_cast<float>(currentIndex));
        notify(&context);
        draw(&context);
    }
    delete menu;
}
