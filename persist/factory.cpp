#include "persist/factory.h"

#include <string>

#include "persist/persistent.h"
#include "persist/pstream.h"

namespace dynamic {

namespace {
factory_list_ele* g_head = nullptr;
}

factory_list_ele::factory_list_ele(abstract_factory* owner) : next(g_head), factory(owner) { g_head = this; }

factory_list_ele::~factory_list_ele()
{
    for (factory_list_ele** link = &g_head; *link; link = &(*link)->next) {
        if (*link == this) {
            *link = next;
            return;
        }
    }
}

factory_list_ele* factory_list() { return g_head; }

} // namespace dynamic

void persistent::serialize(pstream&, bool) {}

const char* describe(persistent::exception error)
{
    switch (error) {
    case persistent::bad_version: return "unsupported class version";
    case persistent::class_not_registered: return "unknown class";
    case persistent::read_failed: return "the file ends inside an object header";
    case persistent::no_class_name: return "missing class name";
    case persistent::truncated: return "the file ends too early";
    case persistent::bad_data: return "damaged data (a count, index or object that does not fit)";
    }
    return "unknown error";
}

persistent* create_object(const char* className)
{
    for (dynamic::factory_list_ele* e = dynamic::factory_list(); e; e = e->next)
        if (persistent* object = e->factory->create(className))
            return object;
    return nullptr;
}

persistent* read_object(pstream& stream)
{
    std::string name;
    for (;;) {
        char c;
        if (stream.raw_read(&c, 1, 1) != 1)
            throw persistent::read_failed;  // the name runs into the end of the stream
        if (c == '\0')
            break;
        name += c;
    }
    if (name.empty())
        throw persistent::no_class_name;
    persistent* object = create_object(name.c_str());
    if (!object)
        throw persistent::class_not_registered;
    try {
        short stored;
        if (stream.raw_read(&stored, sizeof stored, 1) != 1)
            throw persistent::read_failed;
        if (stored != object->version())
            throw persistent::bad_version;
        object->serialize(stream, false);
    } catch (...) {
        delete object;
        throw;
    }
    return object;
}

void write_object(pstream& stream, const persistent& object)
{
    const char* name = object.class_name();
    stream.raw_write(name, 1, std::strlen(name) + 1);
    short version = object.version();
    stream.raw_write(&version, sizeof version, 1);
    // serialize transfers in both directions, so it is not const.
    const_cast<persistent&>(object).serialize(stream, true);
}
