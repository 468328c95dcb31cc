// Velorance Studio recorder: loaded into the app under test through DYLD_INSERT_LIBRARIES.
// The constructor runs when the library is loaded and hands over to the Swift part.

extern void vrr_start(void);

__attribute__((constructor))
static void vrr_constructor(void)
{
    vrr_start();
}
