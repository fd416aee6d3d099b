# A layer is one static library made of every .cpp below its folder. Sources are globbed so that adding a
# class never means editing a CMakeLists.txt; CONFIGURE_DEPENDS re-runs the glob when files appear.
function(velmora_add_layer target folder)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
    if(sources)
        add_library(${target} STATIC ${sources})
        target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
        velmora_set_warnings(${target})
    else()
        # A layer that has no code yet still exists, so that the layers above can name it.
        add_library(${target} INTERFACE)
        target_include_directories(${target} INTERFACE ${CMAKE_SOURCE_DIR})
    endif()
endfunction()

# Links a layer to what it depends on, whether it is still header-only or not.
function(velmora_link_layer target visibility)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
        target_link_libraries(${target} INTERFACE ${ARGN})
    else()
        target_link_libraries(${target} ${visibility} ${ARGN})
    endif()
endfunction()
