directory	C:\\dns\\data	
cache	.	cache.dns
;OS:	Windows NT 4.X
primary	example.com	example.com.dns
primary		spaced.com	 	spaced.dns
secondary	sec.net	10.0.0.1	10.0.0.2	sec.bak
forwarders	10.1.1.1	10.1.1.2
secondary	2.10.in-addr.arpa	10.0.0.1	rev.bak	;	comment with tab
