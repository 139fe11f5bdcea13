-- Tables the program reads and writes, shaped like an installation's.
create table fornece (
  fornece_id int null,
  cgc varchar(40) null,
  apagado char(1) null
);
create table fabricantes (
  fabricantes_id int null,
  cgc varchar(40) null,
  apagado char(1) null
);
create table descfabric (
  fornece_id int not null,
  fabricantes_id int not null,
  desconto decimal(15,4) null,
  validade date null,
  lojas_leram varchar(50) null,
  apagado char(1) null,
  grupo_descfabric_id int null,
  primary key (fornece_id, fabricantes_id)
);
create table config_central (
  ip_central varchar(100) null,
  banco_dados varchar(100) null,
  usuario varchar(100) null,
  senha varchar(200) null
);
