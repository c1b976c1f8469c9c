#pragma once

namespace korvane::rcon {
class ServerLink;
}

namespace korvane::ui {

struct Environment;

// What a window is given to work with: the link to the server, through which it sends and opens its
// endpoint, and the environment (settings and language texts, favourites file, message boxes, waits).
struct Context {
    rcon::ServerLink &link;
    Environment &environment;
};

} // namespace korvane::ui
