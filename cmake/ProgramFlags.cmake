# Compile and link settings of everything built for Windows.
#
# quorvel_flags: small code without exception or RTTI machinery, sections the linker
# can drop, data aligned as the ABI asks and not padded further, no build paths in the
# output.
# The link: C and C++ runtimes static, so that only Windows' own DLLs are imported;
# ASLR with relocations, NX, and (32-bit) NO_SEH; no time stamp, for identical rebuilds.
add_library(quorvel_flags INTERFACE)
target_compile_options(quorvel_flags INTERFACE
    -Os -Wall -Wextra
    $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti>
    -fno-asynchronous-unwind-tables -ffunction-sections -fdata-sections -malign-data=abi
    -ffile-prefix-map=${CMAKE_SOURCE_DIR}/= -ffile-prefix-map=${CMAKE_BINARY_DIR}/=)
target_compile_definitions(quorvel_flags INTERFACE WIN32_LEAN_AND_MEAN NOMINMAX)
target_include_directories(quorvel_flags INTERFACE ${CMAKE_SOURCE_DIR})

set(QUORVEL_LINK_OPTIONS
    -static -s -Wl,--gc-sections -Wl,--no-insert-timestamp
    -Wl,--dynamicbase -Wl,--nxcompat)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    list(APPEND QUORVEL_LINK_OPTIONS -Wl,--no-seh)
    # Arguments pushed rather than stored into a reserved area, which after every stdcall
    # would have to be reserved again: this saves about a sixth of the code. GCC allows it
    # only without stack probes, which a frame below a page never needs; frames are held
    # well below that, and alloca and variable-length arrays are refused.
    target_compile_options(quorvel_flags INTERFACE
        -mno-accumulate-outgoing-args -mno-stack-arg-probe
        -Werror=frame-larger-than=2048 -Werror=alloca -Werror=vla)
else()
    list(APPEND QUORVEL_LINK_OPTIONS -Wl,--high-entropy-va)
endif()
target_link_options(quorvel_flags INTERFACE ${QUORVEL_LINK_OPTIONS})

# Sources that hold texts keep them readable in UTF-8 and compile them to GBK bytes.
function(quorvel_gbk_texts)
    set_source_files_properties(${ARGN} DIRECTORY ${CMAKE_SOURCE_DIR}
        PROPERTIES COMPILE_OPTIONS "-finput-charset=UTF-8;-fexec-charset=GBK")
endfunction()
