// The recorder's event stream: one line as the app under test sent it.

#include "FuzzCheck.h"

#include <RecorderTapEvent.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QDateTime receivedAt = QDateTime::fromMSecsSinceEpoch(1700000000000);
    const auto event = RecorderTapEvent::decode(fuzzBytes(data, size), receivedAt);
    if (event) {
        FUZZ_CHECK(!event->id.isNull());
        FUZZ_CHECK(event->receivedAt == receivedAt);
    }
    return 0;
}
