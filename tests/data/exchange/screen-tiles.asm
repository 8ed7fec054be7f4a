map_dataset_id:
.byte 7, 2

map_width:
.byte 2, 0

map_height:
.byte 2, 0

map_num_cells:
.byte 4, 0

map_data:
.byte 44, 1, 2, 0
.byte 3, 0, 4, 0

