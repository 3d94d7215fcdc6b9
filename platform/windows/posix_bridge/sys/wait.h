#pragma once

// A helper's end as its status tells it: an exit code in the low byte.
#define WIFEXITED(status) ((status) >= 0)
#define WEXITSTATUS(status) ((status)&0xFF)
