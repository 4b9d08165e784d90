// The view container: its child list, routing by mouseable area, and the
// redraw of everything when one child is dirty.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/CViewContainer.h"

namespace {

using Log = std::vector<std::string>;

class Child : public CView {
public:
    Child(CRect r, std::string n, Log* l, bool* gone = nullptr)
        : CView(r), name(std::move(n)), log(l), deleted(gone)
    {
    }
    ~Child() override
    {
        if (deleted)
            *deleted = true;
    }
    void draw(CDrawContext*) override { log->push_back("draw " + name); }
    void mouse(CDrawContext*, CPoint&) override { log->push_back("mouse " + name); }
    void takeFocus() override { log->push_back("focus " + name); }
    std::string name;
    Log* log;
    bool* deleted;
};

TEST(ViewContainer, RoutesByMouseableAreaAndTheLaterChildWins)
{
    Log log;
    CRect size{0, 0, 100, 100};
    CViewContainer box(size, nullptr, nullptr);
    auto* first = new Child(CRect{0, 0, 50, 50}, "first", &log);
    auto* second = new Child(CRect{0, 0, 50, 50}, "second", &log);
    CRect narrow{0, 0, 10, 10};
    box.addView(first);
    box.addView(second, narrow, true);
    box.addView(nullptr, narrow, true); // ignored

    CPoint inNarrow{5, 5}, outsideNarrow{30, 30}, nowhere{80, 80};
    box.mouse(nullptr, inNarrow);
    box.mouse(nullptr, outsideNarrow); // inside second's size, outside its area
    box.mouse(nullptr, nowhere);
    EXPECT_EQ(log, (Log{"mouse second", "mouse first"}));
}

TEST(ViewContainer, RemovingTheMiddleChildDeletesItAndKeepsTheOrder)
{
    Log log;
    CRect size{0, 0, 100, 100};
    CViewContainer box(size, nullptr, nullptr);
    bool middleGone = false;
    auto* a = new Child(CRect{0, 0, 10, 10}, "a", &log);
    auto* b = new Child(CRect{0, 0, 10, 10}, "b", &log, &middleGone);
    auto* c = new Child(CRect{0, 0, 10, 10}, "c", &log);
    box.addView(a);
    box.addView(b);
    box.addView(c);
    box.removeView(b);
    EXPECT_TRUE(middleGone);
    EXPECT_FALSE(box.isChild(b));
    EXPECT_EQ(box.getFirstView()->next->view, c);
    EXPECT_EQ(box.getLastView()->previous->view, a);

    a->setDirty(false);
    c->setDirty(false);
    box.update(nullptr); // nothing dirty: nothing drawn
    EXPECT_TRUE(log.empty());
    c->setDirty(true);
    box.update(nullptr); // one dirty child redraws them all, in order
    box.takeFocus();
    EXPECT_EQ(log, (Log{"draw a", "draw c", "focus a", "focus c"}));
    EXPECT_TRUE(c->isDirty()); // the container leaves the flags to the children
}

} // namespace
