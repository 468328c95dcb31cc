// The element-tree parser: the driver's dump of XCUITest's debugDescription, and the lookup
// of the element under a recorded tap. The first two bytes choose the tap point.

#include "FuzzCheck.h"

#include <ScreenElement.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    double nx = 0.5;
    double ny = 0.5;
    if (size >= 2) {
        nx = data[0] / 255.0;
        ny = data[1] / 255.0;
    }
    const QString text = QString::fromUtf8(fuzzBytes(data, size));
    const QList<ScreenElement> elements = ScreenElementTree::parse(text);
    for (const ScreenElement &element : elements)
        FUZZ_CHECK(element.depth >= 0);

    const auto screen = ScreenElementTree::screenRect(elements);
    if (screen)
        FUZZ_CHECK(screen->width() > 0 && screen->height() > 0);
    const auto hit = ScreenElementTree::identifiedElementAt(elements, nx, ny);
    if (hit) {
        FUZZ_CHECK(screen.has_value());
        FUZZ_CHECK(!hit->identifier.isEmpty());
    }
    return 0;
}
