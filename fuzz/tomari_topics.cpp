// Fuzz target: the topic index: topic list files and the stored container form.
#include <cstdint>

#include "FuzzSupport.h"
#include "MemBuffer.h"
#include "Topics.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int reader = fuzz::PickReader(data, size, 2);
    if (reader < 0) return -1;
    TTopics topics;
    if (reader == 0) {
        topics.ReadFromFile(fuzz::WriteInputFile(data, size, "topics.lst").c_str());
    } else {
        TMemBuffer buffer;
        fuzz::FillBuffer(buffer, data, size);
        topics.ReadFromMemBuffer(buffer);
    }
    for (int i = 0; i < topics.GetCount(); ++i) {
        const TTopic& topic = topics[i];
        for (int k = 0; k < topic.names.GetCount(); ++k)
            fuzz::TouchBytes(topic.names[k].c_str(), static_cast<size_t>(topic.names[k].Length()));
    }
    return 0;
}
