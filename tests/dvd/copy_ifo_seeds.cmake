# cmake -DDISC=<sample disc> -DREAL=<folder of real discs> -DOUT=<folder> -P copy_ifo_seeds.cmake
# Gathers information files as seeds for the IFO fuzzer: the sample disc's, whose folder also
# holds the large VOB files, which must not go into the corpus, and the real discs' (IFO and BUP,
# the disc's own and the title sets'), each under a name of its own.
file(GLOB ifos "${DISC}/VIDEO_TS/VTS_*_0.IFO" "${DISC}/VIDEO_TS/VIDEO_TS.IFO")
file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}")
if(ifos)
    file(COPY ${ifos} DESTINATION "${OUT}")
endif()
file(GLOB real "${REAL}/*/VIDEO_TS/*.IFO" "${REAL}/*/VIDEO_TS/*.BUP")
foreach(path ${real})
    get_filename_component(name "${path}" NAME)
    get_filename_component(folder "${path}" DIRECTORY)
    get_filename_component(folder "${folder}" DIRECTORY)
    get_filename_component(disc "${folder}" NAME)
    configure_file("${path}" "${OUT}/${disc}-${name}" COPYONLY)
endforeach()
