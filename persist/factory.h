#pragma once
#include <cstring>

class persistent;
class pstream;

namespace dynamic {

class abstract_factory;

// An element of the process-wide factory list: constructing it links it at
// the head, destroying it unlinks it wherever it stands.
struct factory_list_ele {
    explicit factory_list_ele(abstract_factory* owner);
    ~factory_list_ele();
    factory_list_ele(const factory_list_ele&) = delete;
    factory_list_ele& operator=(const factory_list_ele&) = delete;

    factory_list_ele* next;
    abstract_factory* factory;
};

class abstract_factory {
public:
    abstract_factory() : element_(this) {}
    virtual ~abstract_factory() = default;
    // A new object of the named class, or null when this factory does not make it.
    virtual persistent* create(const char* className) = 0;

private:
    factory_list_ele element_;
};

template <typename T>
class factory : public abstract_factory {
public:
    persistent* create(const char* className) override
    {
        return std::strcmp(className, T::kClassName) == 0 ? new T : nullptr;
    }
};

// The head of the factory list (the most recently linked factory).
factory_list_ele* factory_list();

} // namespace dynamic

// Asks the factories in list order; the first non-null result, or null.
persistent* create_object(const char* className);

// Reads one frame and returns the new object, owned by the caller.
// Throws persistent::exception.
persistent* read_object(pstream& stream);

// Writes one frame for the object.
void write_object(pstream& stream, const persistent& object);

// Creates and links one factory per scene-file class, once per process.
// Defined with the scene classes.
void register_factories();
