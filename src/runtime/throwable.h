// The root of the game's exceptions. Whatever escapes game code reaches the host's dispatch,
// which ends the program with "Uncaught Zibbet Exception".
#pragma once

class ThrowableObject {
public:
    virtual ~ThrowableObject() = default;
};
