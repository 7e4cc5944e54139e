#include <unistd.h>
#ifdef _WIN32
#endif
