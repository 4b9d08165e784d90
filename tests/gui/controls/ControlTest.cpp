// The control base: the dirty protocol, the background's references, and
// the idle pass a tracking loop makes through the frame's editor.
#include <gtest/gtest.h>

#include <limits>

#include "ControlHarness.h"
#include "gui/CBitmap.h"

namespace {

struct CountingControl : CControl {
    explicit CountingControl(CBitmap* background = nullptr)
        : CControl(CRect{10, 10, 30, 30}, nullptr, 4, background)
    {
    }
    void draw(CDrawContext*) override
    {
        draws++;
        setDirty(false);
    }
    int draws = 0;
};

TEST(ControlDirty, ValueAgainstTheDrawnValueAndTheFlag)
{
    CountingControl c;
    EXPECT_TRUE(c.isDirty()); // 0 against 1 until the first draw
    c.update(nullptr);
    c.update(nullptr);
    EXPECT_EQ(c.draws, 1);
    c.setValue(0.0f);
    EXPECT_FALSE(c.isDirty());
    c.setValue(2.0f); // stored as given, never clamped
    EXPECT_TRUE(c.isDirty());
    EXPECT_FALSE(c.dirty);

    c.setValue(-1.0f);
    c.setDirty(true);
    EXPECT_EQ(c.getOldValue(), 0.0f);
    c.setValue(0.25f);
    c.setDirty(true);
    EXPECT_EQ(c.getOldValue(), -1.0f);
    c.setDirty(false);
    EXPECT_EQ(c.getOldValue(), 0.25f);
    c.setValue(std::numeric_limits<float>::quiet_NaN());
    c.setDirty(false);
    EXPECT_TRUE(c.isDirty()); // NaN never equals the drawn value
}

TEST(ControlBackground, ReferencesFollowTheHolder)
{
    auto* first = new CBitmap(129);
    auto* second = new CBitmap(130);
    {
        CountingControl c(first);
        EXPECT_EQ(first->getReferenceCount(), 2);
        c.setBackground(second);
        EXPECT_EQ(first->getReferenceCount(), 1);
        EXPECT_EQ(second->getReferenceCount(), 2);
        c.setBackground(nullptr);
        EXPECT_EQ(second->getReferenceCount(), 1);
        c.setBackground(first);
    }
    EXPECT_EQ(first->getReferenceCount(), 1);
    second->forget();
    // Handed back the picture it holds the last reference of, it keeps it.
    CountingControl holder(first);
    first->forget();
    holder.setBackground(first);
    EXPECT_EQ(first->getWidth(), 16);
}

TEST(ControlIdle, GoesThroughTheFramesEditorWhichRedrawsDirtyControls)
{
    CountingControl loose;
    loose.doIdleStuff(); // no frame: nothing
    ControlHarness harness;
    auto* c = harness.add(new CountingControl);
    harness.show();
    const int drawn = c->draws;
    c->setValue(0.75f);
    const uint32_t mark = harness.editor->getLastTicks();
    harness.editor->skip(120); // a quiet pause: this pass moves the editor's mark
    c->doIdleStuff();
    EXPECT_EQ(c->draws, drawn + 1);
    EXPECT_NE(harness.editor->getLastTicks(), mark);
}

} // namespace
