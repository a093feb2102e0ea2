# The folders of src/ from the bottom up, each with the folders it may use. Libraries are linked
# from this table and CheckLayering.cmake refuses any include outside it, so the dependencies run
# one way, downward, and a cycle between folders fails the build.
set(ORV_LAYERS text geometry run_data programs solutions search indexing reports input maps driver)
# text: the line notation, the safe file writer and the file names, below everything that writes.
set(ORV_USES_text "")
set(ORV_USES_geometry "")
set(ORV_USES_run_data text geometry)
# programs: what the three programs' command lines share (CLI11): help, version, unknown options.
set(ORV_USES_programs run_data text)
set(ORV_USES_solutions run_data geometry)
set(ORV_USES_search solutions run_data geometry)
# A whole indexing of a pattern in memory: the search or the automatic search, the post-processing,
# the lattice choice and analysis, orientations, several grains. Writes nothing.
set(ORV_USES_indexing search solutions run_data geometry)
set(ORV_USES_reports text solutions run_data geometry)
set(ORV_USES_input text run_data geometry)
# Maps of many patterns of one sample: positions, seeds, grains, colour keys and the map pictures.
set(ORV_USES_maps reports solutions run_data geometry text)
set(ORV_USES_driver maps input reports indexing search solutions run_data geometry programs text)
# The public library (include/orvanthel/): one call that indexes a pattern, built on the layers.
set(ORV_USES_library import simulator input reports indexing search solutions run_data geometry text)
# Programs beside the indexer, built on the lower layers only.
set(ORV_USES_simulator input run_data geometry programs text)
set(ORV_USES_import input run_data geometry programs text)
