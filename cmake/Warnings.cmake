# One warning set for every target of the project: call vantrel_target_defaults(target).
add_library(vantrel_build_options INTERFACE)
target_compile_options(vantrel_build_options INTERFACE
    -Wall -Wextra -Wshadow -Wsuggest-override -Wnon-virtual-dtor -Wformat=2)
target_compile_definitions(vantrel_build_options INTERFACE
    QT_NO_KEYWORDS QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_USE_QSTRINGBUILDER)
if(VANTREL_WERROR)
    target_compile_options(vantrel_build_options INTERFACE -Werror)
endif()
if(VANTREL_SANITIZE)
    target_compile_options(vantrel_build_options INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(vantrel_build_options INTERFACE -fsanitize=address,undefined)
endif()

function(vantrel_target_defaults target)
    target_link_libraries(${target} PRIVATE vantrel_build_options)
endfunction()
