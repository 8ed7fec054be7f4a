; (dataset_id, dataset_type), where dataset_type = 0 for charset, 1 for blockset and 2 for tileset
t_dataset_id:
!byte $23, $01

t_width:
!byte $04, $00

t_height:
!byte $01, $00

t_num_cells:
!byte $04, $00

; 16 bits per entry, $FFFF = no cell
; RLE compressed as a sequence of 2 or 1 word(s) depending on the following rule:
;    value | 32768          if (n.repetition == 1) and (value < 32768)
;   (n.repetition, value)   otherwise
; Total bytes: 8

t_data:
!byte $03, $00, $2C, $01, $01, $00, $FF, $FF

; 8 bits per entry, $FF = no cell
; RLE compressed as a sequence of 2 or 1 byte(s) depending on the following rule:
;    value | 128            if (n.repetition == 1) and (value < 128)
;   (n.repetition, value)   otherwise
; Total bytes: 2

t_color:
!byte $04, $FF

