#pragma once

class pstream;

// Every object that can live in a scene file. An object is stored as a frame:
// its class name, a 16-bit version, then the fields its serialize transfers.
class persistent {
public:
    // Thrown by value when a frame cannot be read.
    enum exception {
        bad_version = 1,           // stored version differs from the class's
        class_not_registered = 2,  // no factory creates the named class
        read_failed = 3,           // the stream ends inside the version field
        no_class_name = 4,         // the class name read is empty
        truncated = 5,             // the stream ends inside an object's fields
        bad_data = 6,              // a count, index or nested class that the file cannot hold
    };

    virtual ~persistent() = default;
    // Transfers the fields: write false reads them into the object, true writes them.
    virtual void serialize(pstream& stream, bool write);
    virtual short version() const { return 0; }
    // The name stored in the frame, e.g. "class CameraNode".
    virtual const char* class_name() const = 0;
};

// A readable text for each exception value, for error messages.
const char* describe(persistent::exception error);
