#pragma once

// Where the website button and the About box lead.
namespace Website {
inline constexpr char Address[] = "https://kelvo-ripvale.org/";
}
