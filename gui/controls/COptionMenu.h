// COptionMenu: a parameter display showing the text of its current entry;
// a click opens a platform pop-up menu of all entries, and the entry chosen
// becomes current, its position the control's value. An entry whose text is
// exactly "-" is a separator line and cannot be chosen.
#pragma once

#include <cstdint>

#include "gui/controls/CParamDisplay.h"

class COptionMenu : public CParamDisplay {
public:
    static constexpr int32_t kMaxEntries = 1024;

    // pressed, drawn behind the current text while the mouse is down, may be null.
    COptionMenu(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
                CBitmap* pressed, int32_t style);
    ~COptionMenu() override;

    // Inserts before index (appends when index is negative or past the end);
    // the current entry keeps its text. false when the menu is full. Texts
    // beyond 255 bytes keep the first 255.
    virtual bool addEntry(char* txt, int32_t index = -1);
    // Positions count separators when withSeparators is true; otherwise only
    // the entries that are not separators are counted. txt holds 256 bytes.
    virtual int32_t getCurrent(char* txt = nullptr, bool withSeparators = true);
    virtual bool setCurrent(int32_t index, bool withSeparators = true);
    virtual bool getEntry(int32_t index, char* txt);
    // Removing the current entry makes the one before it current.
    virtual bool removeEntry(int32_t index);
    virtual bool removeAllEntry();
    virtual int32_t getNbEntries() { return entryCount; }
    // The first position holding txt, or -1.
    virtual int32_t getIndex(char* txt);

    // With no current entry the box is drawn empty.
    void draw(CDrawContext* context) override;
    // A primary or secondary click shows the pressed look and opens the menu.
    void mouse(CDrawContext* context, CPoint& where) override;
    // Runs the menu at the control's corner and waits for the choice.
    void takeFocus() override;
    void looseFocus() override {}

    CBitmap* getPressedBackground() const { return pressedBackground; }

private:
    static bool isSeparator(const char* txt) { return txt[0] == '-' && txt[1] == '\0'; }
    // The current entry's text, or an empty one when there is none.
    void currentText(char* txt) const;

    char* entries[kMaxEntries] = {};
    int32_t entryCount = 0;
    int32_t currentIndex = -1;
    CBitmap* pressedBackground = nullptr;
};
