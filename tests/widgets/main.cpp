// One test program for the window kit: controls, grid, message boxes and field helpers.
// "test_widgets controls|grid|messages [QTest options]" runs one of the three classes.
#include "look.h"

#include <QApplication>
#include <QTest>

int runControlsTests(int argc, char **argv);
int runGridTests(int argc, char **argv);
int runMessagesTests(int argc, char **argv);

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    tavimor::applyLook(app);
    const struct {
        const char *name;
        int (*run)(int, char **);
    } classes[] = {{"controls", runControlsTests}, {"grid", runGridTests}, {"messages", runMessagesTests}};
    if (argc > 1) {
        for (const auto &c : classes) {
            if (qstrcmp(argv[1], c.name) == 0) {
                argv[1] = argv[0];
                return c.run(argc - 1, argv + 1);
            }
        }
    }
    int failed = 0;
    for (const auto &c : classes)
        failed += c.run(argc, argv);
    return failed;
}
