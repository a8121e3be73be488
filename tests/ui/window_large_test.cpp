// A long project: editors are made only for the parts that come into view, whatever the
// scrolling and reopening before.
#include <QScrollBar>

#include "ui/frames_area.h"
#include "ui/lazy_editor.h"
#include "window_fixture.h"

namespace vlp::ui::test {
namespace {

std::string LongProject(int objects) {
    std::string text;
    for (int k = 0; k < objects; ++k)
        text += "new \"turtle [\r\n\tcolour blue\r\n\tevent'click [forward " + std::to_string(k) +
                " colour 5]\r\n\r\n";
    return text;
}

int Materialised(const MainWindow& w) {
    int count = 0;
    for (const PartEditor* editor : w.EditorList()) count += editor->IsMaterialised() ? 1 : 0;
    return count;
}

TEST_F(WindowTest, OnlyTheEditorsInViewAreMade) {
    const QString big = ProjectPath("big.vlp");
    WriteTestProject(big.toStdString(), LongProject(300));
    MainWindow& w = Open({big});
    ASSERT_EQ(w.EditorList().size(), 600u);
    const int atStart = Materialised(w);
    EXPECT_GT(atStart, 0);
    EXPECT_LT(atStart, 40);
    EXPECT_TRUE(w.EditorList().front()->IsMaterialised());

    QScrollBar* bar = w.ScrollBox1()->verticalScrollBar();
    bar->setValue(bar->maximum());
    ProcessEvents();
    EXPECT_TRUE(w.EditorList().back()->IsMaterialised());
    EXPECT_LT(Materialised(w), 2 * atStart + 10);

    // Translate works on made and unmade editors alike.
    TranslateToCesky();
    EXPECT_EQ(EditorText(599), "\tudalost'click [dopredu 299 colour 5]\r\n");
    EXPECT_EQ(EditorText(301), "\tudalost'click [dopredu 150 colour 5]\r\n");
    EXPECT_EQ(Editor(301)->MarkedRuns().back(), (Mark{28, 6, kMarkAmbiguous}));

    // Reopening after scrolling makes only the new first screen's editors.
    w.OpenProject(big);
    ProcessEvents();
    EXPECT_EQ(bar->value(), 0);
    EXPECT_LT(Materialised(w), 40);
}

}  // namespace
}  // namespace vlp::ui::test
