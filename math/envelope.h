#pragma once
// An animated float channel: keys joined by TCB, Hermite, Bezier, linear,
// stepped or two-dimensional Bezier spans, with behaviours before the first
// and after the last key. Brush channels, keyframe motion and the scene
// importer all use it.

class pstream;

struct Key {
    Key* next = nullptr;
    Key* prev = nullptr;
    float value = 0;
    float time = 0;
    int shape = 0;  // Envelope::Shape of the span that ends at this key
    float tension = 0;
    float continuity = 0;
    float bias = 0;
    float params[4] = {0, 0, 0, 0};
};

class Envelope {
public:
    enum Shape { TCB = 0, Hermite = 1, Bezier = 2, Linear = 3, Stepped = 4, Bezier2D = 5 };
    enum Behaviour { Reset = 0, Constant = 1, Repeat = 2, Oscillate = 3, Offset = 4, LinearBehaviour = 5 };

    explicit Envelope(float defaultValue = 0.0f);
    Envelope(const Envelope& other);
    Envelope& operator=(const Envelope& other);
    ~Envelope();

    // Appends a TCB key after the last one; keys go in ascending time.
    Envelope& addKey(float time, float value, float continuity = 0, float tension = 0, float bias = 0);
    // Appends a key with every field given (importers, files).
    Envelope& appendKey(const Key& key);

    // Both behaviours at once.
    Envelope& setRepeat() { preBehaviour = postBehaviour = Repeat; return *this; }
    Envelope& setOscillate() { preBehaviour = postBehaviour = Oscillate; return *this; }
    Envelope& setLinear() { preBehaviour = postBehaviour = LinearBehaviour; return *this; }

    float evaluate(float time) const;

    // Multiplies every value by `factor`, with the key parameters that are
    // values too (Hermite and Bezier tangents, 2D Bezier handle heights): the
    // same curve in other units.
    Envelope& scaleValues(float factor);

    Key* lastKey() const { return lastKey_; }
    void clearKeys();

    Key* firstKey = nullptr;
    int keyCount = 0;
    int preBehaviour = Constant;
    int postBehaviour = Constant;
    float defaultValue = 0.0f;  // returned while there is no key; not stored in files

private:
    Key* lastKey_ = nullptr;  // keeps appending cheap for long stored envelopes
};

// The tangents of the span from `key0` to the next key `key1` as evaluate
// uses them, in value per span: leaving key0 and arriving at key1. The keys
// must be linked into their envelope (the neighbours shape the tangents).
float outgoingTangent(const Key& key0, const Key& key1);
float incomingTangent(const Key& key0, const Key& key1);

// The stored form: key count (int), 40 bytes per key (value, time, shape,
// tension, continuity, bias, four parameters), then pre- and post-behaviour.
void io(pstream& stream, bool write, Envelope& envelope);
