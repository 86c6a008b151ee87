#include <cstring>

#include "math/envelope.h"
#include "persist/encoding.h"

namespace {
constexpr size_t kStoredKeySize = 40;
}

void io(pstream& s, bool write, Envelope& envelope)
{
    if (write) {
        s.write(envelope.keyCount);
        for (Key* key = envelope.firstKey; key; key = key->next) {
            s.write(key->value).write(key->time).write(key->shape);
            s.write(key->tension).write(key->continuity).write(key->bias);
            s.raw_write(key->params, sizeof key->params, 1);
        }
        s.write(envelope.preBehaviour).write(envelope.postBehaviour);
        return;
    }

    int count;
    s.read(count);
    if (count < 0 || static_cast<size_t>(count) > s.remaining() / kStoredKeySize)
        throw persistent::bad_data;
    // Read into a fresh envelope so that a failure leaves the old keys alone.
    Envelope read(envelope.defaultValue);
    for (int i = 0; i < count; ++i) {
        Key key;
        s.read(key.value).read(key.time).read(key.shape);
        s.read(key.tension).read(key.continuity).read(key.bias);
        if (s.raw_read(key.params, sizeof key.params, 1) != 1)
            throw persistent::truncated;
        read.appendKey(key);
    }
    s.read(read.preBehaviour).read(read.postBehaviour);
    envelope = read;
}
