# The size of HotKeys.exe. The Windows presets build for size (MinSizeRel, -Os), which suits a
# program that spends its life waiting for messages. Each function and datum gets a section of
# its own so that the linker can drop whatever nothing calls, and the symbols go (the pictures in
# the resources are a third of what remains), except from an unoptimised build, which keeps them
# for a debugger. The hardening flags live elsewhere; these only shrink.
foreach(target IN ITEMS hotkeys_core ${HOTKEYS_PROGRAMS})
    target_compile_options(${target} PRIVATE -ffunction-sections -fdata-sections)
endforeach()
foreach(target IN LISTS HOTKEYS_PROGRAMS)
    target_link_options(${target} PRIVATE $<$<NOT:$<CONFIG:Debug>>:-s> -Wl,--gc-sections)
endforeach()
