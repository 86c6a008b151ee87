#pragma once
#include <map>
#include <string>

// Owns loaded resources of one kind under their names: the paths exactly as
// the caller gave them ("demo\pupic.jpg"), compared bytewise. Two different
// paths to one file make two entries. Brushes and events refer to resources
// by name only and never free one themselves.
template <typename T>
class ResourceManager {
public:
    ResourceManager() = default;
    ResourceManager(const ResourceManager&) = delete;
    ResourceManager& operator=(const ResourceManager&) = delete;

    // Destroys everything still owned, in name order.
    virtual ~ResourceManager() { releaseAll(); }

    // Destroys everything now, in name order: at quit, while the GL context
    // that owns the textures still exists.
    void releaseAll()
    {
        for (auto& entry : resources_)
            delete entry.second;
        resources_.clear();
    }

    // Destroys the resource and forgets the name; an absent name does nothing.
    virtual void release(const char* name)
    {
        auto it = resources_.find(name);
        if (it == resources_.end())
            return;
        T* resource = it->second;
        resources_.erase(it);
        delete resource;
    }

    // The resource, or null. Never loads.
    virtual T* find(const char* name)
    {
        auto it = resources_.find(name);
        return it == resources_.end() ? nullptr : it->second;
    }

    // Takes ownership and returns true. A name already present keeps its
    // first resource: nothing is inserted, false is returned and the offered
    // resource stays with the caller.
    virtual bool add(const char* name, T* resource)
    {
        return resources_.emplace(name, resource).second;
    }

    // Calls f(name, resource) for each resource, in name order.
    template <typename F>
    void forEach(F f)
    {
        for (auto& entry : resources_)
            f(entry.first, entry.second);
    }

    bool contains(const char* name) const { return resources_.count(name) != 0; }
    size_t size() const { return resources_.size(); }

private:
    std::map<std::string, T*> resources_;
};
