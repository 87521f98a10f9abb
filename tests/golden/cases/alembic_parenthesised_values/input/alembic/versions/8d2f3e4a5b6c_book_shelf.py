"""book shelf

Revision ID: 8d2f3e4a5b6c
Revises: 7c1e2d3f4a5b
Create Date: 2024-03-02 09:00:00.000000

"""
from alembic import op
import sqlalchemy as sa

revision = "8d2f3e4a5b6c"
down_revision = "7c1e2d3f4a5b"


def upgrade() -> None:
    op.add_column("book", sa.Column("shelf_code", sa.String(8), nullable=(\
        False)))
    op.alter_column("book", "subtitle", nullable=(\
        False))
    # Autocommit blocks are recognised through parentheses too.
    with (op.get_context().autocommit_block()):
        op.create_index("ix_book_subtitle", "book", ["subtitle"], postgresql_concurrently=True)
    ctx = (op.get_context())
    with ctx.autocommit_block():
        op.drop_index("ix_book_isbn", table_name="book", postgresql_concurrently=True)


def downgrade() -> None:
    op.drop_column("book", "shelf_code")
