-- A few suppliers and manufacturers for trying the program out; one of each is deleted.
insert into fornece (fornece_id, cgc, apagado) values
  (101, '11.222.333/0001-81', 'N'),
  (102, '22.333.444/0001-92', 'N'),
  (103, '33.444.555/0001-03', 'N'),
  (104, '44.555.666/0001-14', 'S');
insert into fabricantes (fabricantes_id, cgc, apagado) values
  (201, '55.666.777/0001-25', 'N'),
  (202, '66.777.888/0001-36', 'N'),
  (203, '77.888.999/0001-47', 'N'),
  (204, '88.999.000/0001-58', 'S');
